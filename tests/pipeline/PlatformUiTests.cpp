#include <gtest/gtest.h>

#include <filesystem>

#include "pipeline/DelAll.h"
#include "platform/ui/AnsiText.h"
#include "platform/ui/Dialogs.h"
#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using platform::toQtFilter;

TEST(FileDialogFilter, PipePairsBecomeQtEntries) {
  EXPECT_EQ(toQtFilter("BIN Files (*.bin)|*.bin"), "BIN Files (*.bin)");
  EXPECT_EQ(toQtFilter("Desc (*.x)|*.x|Other (*.*)|*.*"), "Desc (*.x);;Other (*.*)");
  // A description that does not name its pattern gets it, or Qt would not
  // know what to show.
  EXPECT_EQ(toQtFilter("Textures|*.dds"), "Textures (*.dds)");
}

TEST(ScriptedDialogs, AnswersInOrderThenCancels) {
  platform::ScriptedDialogs scripted;
  scripted.answers = {"/a", "/b"};
  platform::FileDialogRequest request;
  request.title = "T";
  EXPECT_EQ(scripted.chooseFile(nullptr, request), "/a");
  EXPECT_EQ(scripted.chooseFile(nullptr, request), "/b");
  EXPECT_TRUE(scripted.chooseFile(nullptr, request).isEmpty());
  ASSERT_EQ(scripted.fileRequests.size(), 3u);
  EXPECT_EQ(scripted.fileRequests[2].title, "T");
}

TEST(EditorText, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = platform::fromEditorBytes(all);
  EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign of Windows-1252
  EXPECT_EQ(text[0xE9], QChar(0xE9));
  EXPECT_EQ(platform::toEditorBytes(text), all);
  EXPECT_FALSE(platform::toEditorBytes(QString::fromUtf8("\u4e2d")).has_value());
  EXPECT_FALSE(platform::toEditorBytes(QString(QChar(0x80))).has_value());
}

class DelAllTest : public PipelineFixture {};

TEST_F(DelAllTest, RemovesReadOnlyFilesAndFolders) {
  const fs::path folder = programFolder_ / "TempFiles";
  fs::create_directories(folder / "sub" / "deeper");
  writeBytes(folder / "ro.xml", "x");
  writeBytes(folder / "sub" / "deeper" / "ro.bin", "y");
  fs::permissions(folder / "ro.xml", fs::perms::owner_read);
  fs::permissions(folder / "sub" / "deeper" / "ro.bin", fs::perms::owner_read);
  fs::permissions(folder / "sub" / "deeper", fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(folder / "sub", fs::perms::owner_read | fs::perms::owner_exec);

  std::string errorText;
  EXPECT_TRUE(pipeline::DelAll(folder.string(), errorText)) << errorText;
  EXPECT_FALSE(fs::exists(folder));
  // A folder that is already gone counts as deleted.
  EXPECT_TRUE(pipeline::DelAll(folder.string(), errorText));
}

}  // namespace
}  // namespace vantrel::testing
