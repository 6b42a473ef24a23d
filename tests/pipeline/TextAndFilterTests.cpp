#include <gtest/gtest.h>

#include "platform/ui/AnsiText.h"
#include "platform/ui/Dialogs.h"

namespace vantrel::testing {
namespace {

TEST(FileDialogFilter, PipePairsBecomeQtEntries) {
  EXPECT_EQ(platform::toQtFilter("Desc (*.x)|*.x|Other (*.*)|*.*"), "Desc (*.x);;Other (*.*)");
  EXPECT_EQ(platform::toQtFilter("Textures|*.dds"), "Textures (*.dds)");  // Qt needs the pattern
}

// The find and replace boxes' texts and paths reach the program as UTF-8,
// whatever the characters.
TEST(EditorText, BoxTextsAndPathsAreUtf8) {
  const std::string words = "München Kąty Αθήνα 中 \xF0\x9F\x9A\x82";  // the last one: a four-byte emoji
  const QString text = QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
  EXPECT_EQ(text.size(), 23);  // the emoji takes two UTF-16 units
  EXPECT_EQ(platform::toEditorBytes(text), words);
  EXPECT_EQ(platform::fromEditorBytes(words), text);
  EXPECT_EQ(platform::toNativePath(QStringLiteral(u"/home/u/Zürich Hbf.bin")), "/home/u/Z\xC3\xBCrich Hbf.bin");
  EXPECT_EQ(platform::fromNativePath("/home/u/Z\xC3\xBCrich Hbf.bin"), QStringLiteral(u"/home/u/Zürich Hbf.bin"));
  // A byte that is not UTF-8 shows as the replacement character.
  EXPECT_EQ(platform::fromEditorBytes("caf\xE9"), QStringLiteral(u"caf\uFFFD"));
}

}  // namespace
}  // namespace vantrel::testing
