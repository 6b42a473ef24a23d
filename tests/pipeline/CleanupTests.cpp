#include <gtest/gtest.h>

#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

class CleanupTest : public PipelineFixture {};

TEST_F(CleanupTest, ClearDeletesOnlyTheWorkingXmlOfTheLastOpen) {
  installCopyingConverter();
  writeBytes(user("a.bin"), "A");
  writeBytes(user("other.dat"), "O");
  dialogs_.answers = {QString::fromStdString(user("a.bin")),
                      QString::fromStdString(user("other.dat"))};
  pipeline::openBin(ctx_);
  pipeline::viewOtherFiles(ctx_);
  pipeline::clearEditor(ctx_);
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_FALSE(fs::exists(working("a.xml")));
  EXPECT_TRUE(fs::exists(working("other.xml")));
  EXPECT_TRUE(fs::exists(working("other.bin")));
  EXPECT_EQ(pathBox_.text().toStdString(), user("other.dat"));

  session_.strXML.clear();  // nothing opened: only the editor is cleared
  editor_.setBytes("x");
  pipeline::clearEditor(ctx_);
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(CleanupTest, ClearTempFilesEmptiesTheFolderAndKeepsTheEditor) {
  const fs::path temp = programFolder_ / "TempFiles";
  fs::create_directories(temp / "sub");
  writeBytes(temp / "ro.xml", "x");
  writeBytes(temp / "sub" / "y.bin", "y");
  fs::permissions(temp / "ro.xml", fs::perms::owner_read);
  fs::permissions(temp / "sub", fs::perms::owner_read | fs::perms::owner_exec);
  editor_.setBytes("kept");
  pipeline::clearTempFiles(ctx_);
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(fs::is_empty(temp));
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_TRUE(dialogs_.messages.empty());

  fs::remove(temp);  // a missing folder is simply created again
  pipeline::clearTempFiles(ctx_);
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(CleanupTest, AFolderThatCannotBeCreatedIsReported) {
  writeBytes(root_ / "a file", "x");
  ctx_.programFolder = (root_ / "a file").string();  // TempFiles cannot live under a file
  pipeline::clearTempFiles(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("could not be created"));
}

}  // namespace
}  // namespace vantrel::testing
