#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pipeline/UniFile.h"
#include "pipeline/myfile.h"

using namespace vantrel;
using vantrel::test::TempFolder;

TEST(FileCanOpen, OnlyReadableFilesCount) {
  TempFolder dir;
  test::writeFile(dir.file("a.bin"), "abc");
  EXPECT_EQ(FileCanOpen(dir.file("a.bin")), True);
  EXPECT_EQ(test::readFile(dir.file("a.bin")), "abc");  // untouched
  EXPECT_EQ(FileCanOpen(dir.file("missing.bin")), False);
  EXPECT_EQ(FileCanOpen(dir.path().string()), False);
  EXPECT_EQ(FileCanOpen(""), False);
}

TEST(DirExists, OneTrailingBackslashIsDroppedFromTheCallersPath) {
  TempFolder dir;
  std::string plain = dir.path().string();
  std::string withBackslash = plain + "\\";
  EXPECT_EQ(DirExists(plain), True);
  EXPECT_EQ(plain, dir.path().string());
  std::string twoBackslashes = plain + "\\\\";
  DirExists(twoBackslashes);
  EXPECT_EQ(twoBackslashes, plain + "\\");  // only one is removed
#ifdef _WIN32
  EXPECT_EQ(DirExists(withBackslash), True);
  EXPECT_EQ(withBackslash, plain);
  std::string missingDrive = "Q:\\nothing\\";
  EXPECT_EQ(DirExists(missingDrive), False);
#else
  DirExists(withBackslash);
  EXPECT_EQ(withBackslash, plain);
  std::string withSlash = plain + "/";
  EXPECT_EQ(DirExists(withSlash), True);
  EXPECT_EQ(withSlash, plain);
  std::string root = "/";
  EXPECT_EQ(DirExists(root), True);
  EXPECT_EQ(root, "/");
#endif
}

TEST(DirExists, FilesAndMissingPathsAreNoFolders) {
  TempFolder dir;
  test::writeFile(dir.file("f.txt"), "x");
  std::string file = dir.file("f.txt");
  std::string missing = dir.file("nope");
  std::string empty;
  EXPECT_EQ(DirExists(file), False);
  EXPECT_EQ(DirExists(missing), False);
  EXPECT_EQ(DirExists(empty), False);
}

TEST(WholeFile, BytesRoundTripUnchanged) {
  TempFolder dir;
  const std::string bytes("<a>\r\n\xa0\xff\x80 \0 end\n", 14);
  std::string error;
  ASSERT_TRUE(pipeline::writeWholeFile(dir.file("w.xml"), bytes, error)) << error;
  EXPECT_EQ(test::readFile(dir.file("w.xml")), bytes);
  std::string text = "old";
  ASSERT_TRUE(pipeline::readWholeFile(dir.file("w.xml"), text, error)) << error;
  EXPECT_EQ(text, bytes);
}

TEST(WholeFile, EmptyFileGivesEmptyTextMissingFileKeepsIt) {
  TempFolder dir;
  test::writeFile(dir.file("empty.xml"), "");
  std::string text = "old", error;
  EXPECT_TRUE(pipeline::readWholeFile(dir.file("empty.xml"), text, error));
  EXPECT_EQ(text, "");
  text = "old";
  EXPECT_FALSE(pipeline::readWholeFile(dir.file("missing.xml"), text, error));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(error, "");
}

TEST(WholeFile, FailedWriteIsDescribed) {
  TempFolder dir;
  std::string error;
  EXPECT_FALSE(pipeline::writeWholeFile(dir.file("no-such-folder/x.xml"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(pipeline::writeUniFileFailureText("Path not found", "C:\\P\\TempFiles\\a.xml"),
            "Path not found occurred in WriteUniFile while processing\r\nfile C:\\P\\TempFiles\\a.xml");
}
