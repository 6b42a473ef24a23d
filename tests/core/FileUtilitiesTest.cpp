#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pipeline/UniFile.h"
#include "pipeline/myfile.h"
#include "platform/core/Paths.h"
#include "platform/core/WideText.h"

using namespace vantrel;
using vantrel::test::TempFolder;

// FileCanOpen: only readable files count. DirExists: only folders count, and
// one trailing backslash is dropped from the caller's path.
TEST(FileCanOpenAndDirExists, FilesAndFoldersCountOnlyAsWhatTheyAre) {
  TempFolder dir;
  const std::string plain = dir.path().string(), file = dir.file("f.txt"),
                    missing = dir.file("nope");
  test::writeFile(file, "abc");
  struct Case {
    std::string path;
    Truth canOpen, exists;
    std::string after;
  };
  const Case cases[] = {
      {plain, False, True, plain},
      {plain + "\\", False, True, plain},
      {"", False, False, ""},
      {file, True, False, file},
      {missing, False, False, missing},
#ifdef _WIN32
      {"Q:\\nothing\\", False, False, "Q:\\nothing"},
#else
      {plain + "/", False, True, plain},
      {"/", False, True, "/"},
#endif
  };
  for (auto [path, canOpen, exists, after] : cases) {
    const std::string given = path;
    EXPECT_EQ(FileCanOpen(given), canOpen) << given;
    EXPECT_EQ(DirExists(path), exists) << given;
    EXPECT_EQ(path, after) << given;
  }
  EXPECT_EQ(test::readFile(file), "abc");  // untouched
  std::string twoBackslashes = plain + "\\\\";
  DirExists(twoBackslashes);
  EXPECT_EQ(twoBackslashes, plain + "\\");  // only one is removed
}

// Names beyond ASCII (UTF-8 in the program); on Windows through the wide
// API, so a name outside the ANSI code page works too.
TEST(FileCanOpenAndDirExists, NamesBeyondAsciiWork) {
  TempFolder dir;
  const std::string folder = dir.file("K\xC4\x85ty Z\xC3\xBCrich");  // Kąty Zürich
  const std::string file =
      folder + (platform::kPathSeparator + std::string("Z\xC3\xBCrich Hbf.bin"));
  std::filesystem::create_directory(platform::pathFromUtf8(folder));
  std::ofstream(platform::pathFromUtf8(file), std::ios::binary) << "SERZ";
  std::string folderPath = folder;
  EXPECT_EQ(DirExists(folderPath), True);
  EXPECT_EQ(FileCanOpen(file), True);
  std::string filePath = file;
  EXPECT_EQ(DirExists(filePath), False);
  EXPECT_EQ(FileCanOpen(folder), False);
}

TEST(WholeFile, BytesRoundTripUnchangedEmptyFileGivesEmptyTextMissingFileKeepsIt) {
  TempFolder dir;
  std::string error;
  for (const std::string& bytes :
       {std::string("<a>\r\n\xa0\xff\x80 \0 end\n", 14), std::string()}) {
    ASSERT_TRUE(pipeline::writeWholeFile(dir.file("w.xml"), bytes, error)) << error;
    EXPECT_EQ(test::readFile(dir.file("w.xml")), bytes);
    std::string text = "old";
    ASSERT_TRUE(pipeline::readWholeFile(dir.file("w.xml"), text, error)) << error;
    EXPECT_EQ(text, bytes);
  }
  std::string text = "old";
  EXPECT_FALSE(pipeline::readWholeFile(dir.file("missing.xml"), text, error));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(error, "");
}

TEST(WholeFile, FailedWriteIsDescribed) {
  TempFolder dir;
  std::string error;
  EXPECT_FALSE(pipeline::writeWholeFile(dir.file("no-such-folder/x.xml"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(
      pipeline::writeUniFileFailureText("Path not found", "C:\\P\\TempFiles\\a.xml"),
      "Path not found occurred in WriteUniFile while processing\r\nfile C:\\P\\TempFiles\\a.xml");
}
