#include <gtest/gtest.h>

#include "platform/ui/AnsiText.h"
#include "platform/ui/Dialogs.h"

namespace vantrel::testing {
namespace {

TEST(FileDialogFilter, PipePairsBecomeQtEntries) {
  EXPECT_EQ(platform::toQtFilter("Desc (*.x)|*.x|Other (*.*)|*.*"), "Desc (*.x);;Other (*.*)");
  EXPECT_EQ(platform::toQtFilter("Textures|*.dds"), "Textures (*.dds)");  // Qt needs the pattern
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

}  // namespace
}  // namespace vantrel::testing
