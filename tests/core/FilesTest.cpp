#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace vantrel;
using vantrel::test::TempFolder;
namespace fs = std::filesystem;

namespace {

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

// Reading takes regular files only, and says why anything else is refused.
TEST(FilesRead, RegularFilesOnlyWithTheReason) {
  TempFolder dir;
  const std::string file = dir.file("a.xml");
  test::writeFile(file, std::string("x\0y\r\n", 5));
  std::string content = "old";
  ASSERT_FALSE(files::readWhole(file, content));
  EXPECT_EQ(content, std::string("x\0y\r\n", 5));

  struct Case {
    std::string path;
    files::FileError::Kind kind;
  };
  const Case cases[] = {
      {dir.file("missing"), files::FileError::Kind::Missing},
      {"", files::FileError::Kind::Missing},
      {dir.path().string(), files::FileError::Kind::NotAFile},
  };
  for (const auto& c : cases) {
    content = "kept";
    const auto failure = files::readWhole(c.path, content);
    ASSERT_TRUE(failure) << c.path;
    EXPECT_EQ(failure->kind, c.kind) << c.path;
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(content, "kept");
  }

  const auto tooLarge = files::readWhole(file, content, 4);
  ASSERT_TRUE(tooLarge);
  EXPECT_EQ(tooLarge->kind, files::FileError::Kind::TooLarge);
  EXPECT_EQ(tooLarge->size, 5u);
}

#ifndef _WIN32
// A pipe or a device is refused at once instead of blocking the read.
TEST(FilesRead, PipesAndDevicesAreRefusedWithoutWaiting) {
  TempFolder dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/null")}) {
    std::string content;
    const auto failure = files::readWhole(path, content);
    ASSERT_TRUE(failure) << path;
    EXPECT_EQ(failure->kind, files::FileError::Kind::NotAFile) << path;
    EXPECT_EQ(files::kindOf(path), files::EntryKind::Special) << path;
  }
}
#endif

// Replacing: the whole content or nothing, no temporary file left behind,
// and a target name as long as the system allows still works.
TEST(FilesReplace, WholeContentAndNothingLeftBeside) {
  TempFolder dir;
  const std::string target = dir.file("out.bin");
  test::writeFile(target, "old");
  ASSERT_FALSE(files::replaceWhole(target, std::string("new\0", 4)));
  EXPECT_EQ(test::readFile(target), std::string("new\0", 4));
  EXPECT_EQ(entriesIn(dir.path()), 1u);

  const std::string longName = dir.file(std::string(250, 'n') + ".bin");
  ASSERT_FALSE(files::replaceWhole(longName, "long"));
  EXPECT_EQ(test::readFile(longName), "long");

  const auto intoFolder = files::replaceWhole(dir.path().string(), "x");
  ASSERT_TRUE(intoFolder);
  EXPECT_EQ(intoFolder->kind, files::FileError::Kind::NotAFile);

  const auto noFolder = files::replaceWhole(dir.file("no such folder/x.bin"), "x");
  ASSERT_TRUE(noFolder);
  EXPECT_EQ(entriesIn(dir.path()), 2u);
}

// A writer that is never committed leaves the target as it was; one
// committed without a flush replaces it as any other.
TEST(FilesReplace, AbandonedWriterLeavesTheTargetAloneAndAnUnflushedOneReplacesIt) {
  TempFolder dir;
  const std::string target = dir.file("out.xml");
  test::writeFile(target, "old");
  {
    files::AtomicWriter writer;
    ASSERT_FALSE(writer.open(target));
    ASSERT_FALSE(writer.write("partial"));
    EXPECT_EQ(entriesIn(dir.path()), 2u);
  }
  EXPECT_EQ(test::readFile(target), "old");
  EXPECT_EQ(entriesIn(dir.path()), 1u);

  // Unflushed, the commit still replaces the target whole, temporary gone.
  files::AtomicWriter writer;
  ASSERT_FALSE(writer.open(target));
  ASSERT_FALSE(writer.write("new "));
  ASSERT_FALSE(writer.write("text"));
  ASSERT_FALSE(writer.commit(files::AtomicWriter::Durability::Unflushed));
  EXPECT_EQ(test::readFile(target), "new text");
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

#ifndef _WIN32
// Through a link the file it points to is replaced and the link stays; the
// replaced file keeps its permission bits; a read-only file is refused.
TEST(FilesReplace, LinksPermissionsAndReadOnlyTargets) {
  TempFolder dir;
  const std::string real = dir.file("real.bin");
  const std::string link = dir.file("link.bin");
  test::writeFile(real, "old");
  fs::create_symlink("real.bin", link);
  ASSERT_EQ(chmod(real.c_str(), 0600), 0);

  ASSERT_FALSE(files::replaceWhole(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFile(real), "new");
  struct stat st {};
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(files::writeTarget(link), real);

  ASSERT_EQ(chmod(real.c_str(), 0444), 0);
  const auto refused = files::replaceWhole(link, "newer");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->kind, files::FileError::Kind::ReadOnly);
  EXPECT_EQ(test::readFile(real), "new");

  EXPECT_TRUE(files::sameFile(link, real));
  EXPECT_FALSE(files::sameFile(link, dir.file("other")));
}
#endif

// Names with characters beyond ASCII are written and read as they are.
TEST(FilesNames, Utf8NamesRoundTrip) {
  TempFolder dir;
  const std::string name = vantrel::platform::utf8FromPath(dir.path()) + "/Z\xC3\xBCrich Hbf.bin";
  ASSERT_FALSE(files::replaceWhole(name, "M\xC3\xBCnchen"));
  std::string content;
  ASSERT_FALSE(files::readWhole(name, content));
  EXPECT_EQ(content, "M\xC3\xBCnchen");
  EXPECT_EQ(files::kindOf(name), files::EntryKind::File);
  EXPECT_TRUE(fs::exists(dir.path() / fs::path(u8"Z\u00FCrich Hbf.bin")));
}
