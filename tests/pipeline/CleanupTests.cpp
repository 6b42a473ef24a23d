#ifndef _WIN32
#include <unistd.h>
#endif

#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

class CleanupTest : public PipelineFixture {};

TEST_F(CleanupTest, ClearDeletesOnlyTheWorkingXmlOfTheLastOpen) {
  installConverter();
  writeBytes(user("a.bin"), "A");
  writeBytes(user("other.dat"), "O");
  choose(user("a.bin"));
  choose(user("other.dat"));
  pipeline::openBin(ctx_);
  pipeline::viewOtherFiles(ctx_);
  pipeline::clearEditor(ctx_);
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_FALSE(fs::exists(working("a.xml")));
  EXPECT_TRUE(fs::exists(working("other.xml")));
  EXPECT_EQ(pathBox_.text(), user("other.dat"));
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(CleanupTest, ClearTempFilesRemovesReadOnlyEntriesAndKeepsTheEditor) {
  const fs::path temp = program_ / "TempFiles";
  fs::create_directories(temp / "sub" / "deeper");
  writeBytes(temp / "ro.xml", "x");
  writeBytes(temp / "sub" / "deeper" / "y.bin", "y");
  fs::permissions(temp / "ro.xml", fs::perms::owner_read);
  for (const fs::path& folder : {temp / "sub" / "deeper", temp / "sub"})
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  editor_.setBytes("kept");
  pipeline::clearTempFiles(ctx_);
  EXPECT_TRUE(fs::is_directory(temp) && fs::is_empty(temp));
  EXPECT_EQ(editor_.bytes(), "kept");
  fs::remove(temp);  // a missing folder is simply made again
  pipeline::clearTempFiles(ctx_);
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(CleanupTest, FailuresAreReportedAndTheFolderRemains) {
#ifndef _WIN32           // a read-only folder is a Linux idea
  if (geteuid() != 0) {  // root may delete in a read-only folder
    writeBytes(program_ / "TempFiles" / "a.xml", "x");
    fs::permissions(program_, fs::perms::owner_read | fs::perms::owner_exec);
    pipeline::clearTempFiles(ctx_);
    EXPECT_TRUE(contains(onlyMessage().text, "could not be emptied"));
    EXPECT_TRUE(fs::is_directory(program_ / "TempFiles"));
    dialogs_.messages.clear();
  }
#endif
  writeBytes(root_ / "a file", "x");
  ctx_.programFolder = (root_ / "a file").string();  // TempFiles cannot live under a file
  pipeline::clearTempFiles(ctx_);
  EXPECT_TRUE(contains(onlyMessage().text, "could not be created"));
}

}  // namespace
}  // namespace vantrel::testing
