// Texture Preview on Qt, offscreen: Ctrl+T from the editor opens one window
// titled "Texture Preview" that draws the chosen level at each zoom, follows
// edits of the text once they rest, and tells the model when it closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "shell/ToolsMenu.h"
#include "tests/texture/TextureLevelsText.h"
#include "ui/qt/QtEditorControl.h"
#include "ui/qt/TexturePreviewWindow.h"
#include "ui/qt/tests/GuiFixture.h"

namespace vantrel::testing {
namespace {

using texture::BlockFormat;

std::string dxt1Texture(std::vector<texture::testing::LevelShape> shapes) {
  return texture::testing::levelsXml(std::string(texture::kDxt1FormatName), BlockFormat::Dxt1,
                                     shapes);
}

class TexturePreviewWindowTest : public GuiFixture {
 protected:
  QSize pictureSize() const {
    return window_->texturePreviewWindow()->pictureLabel()->pixmap().size();
  }
  // After the fixture's own set-up: the window takes its program folder
  // and scripted dialogs.
  void SetUp() override {
    GuiFixture::SetUp();
    window_ = showMainWindow();
    editor_ = &window_->controls().RichTextBox1->editor();
  }
  void TearDown() override {
    window_.reset();
    GuiFixture::TearDown();
  }
  std::unique_ptr<qt::Form1> window_;
  platform::Editor* editor_ = nullptr;
};

TEST_F(TexturePreviewWindowTest, CtrlTInTheEditorOpensOneWindowThatDrawsTheLevels) {
  editor_->setBytes(dxt1Texture({{64, 16}, {32, 8}, {16, 4}}));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  window_->controls().RichTextBox1->setFocus();
  QTest::keyClick(window_->controls().RichTextBox1, Qt::Key_T, Qt::ControlModifier);
  qt::TexturePreviewWindow* preview = window_->texturePreviewWindow();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->isVisible());
  EXPECT_EQ(preview->windowTitle(), QStringLiteral("Texture Preview"));
  EXPECT_EQ(preview->levelBox()->count(), 3);
  EXPECT_EQ(preview->statusLabel()->text(), QString::fromUtf8("Level 1 of 3: 64 × 16, DXT1"));
  // The key went to the menu, not to the editor (Ctrl+T swaps lines there).
  EXPECT_FALSE(editor_->isModified());

  preview->zoomBox()->setCurrentIndex(1);  // 1:1
  EXPECT_EQ(pictureSize(), QSize(64, 16));
  preview->levelBox()->setCurrentIndex(1);
  EXPECT_EQ(preview->statusLabel()->text(), QString::fromUtf8("Level 2 of 3: 32 × 8, DXT1"));
  EXPECT_EQ(pictureSize(), QSize(32, 8));
  preview->zoomBox()->setCurrentIndex(2);  // 2:1
  EXPECT_EQ(pictureSize(), QSize(64, 16));
  preview->zoomBox()->setCurrentIndex(0);  // Fit: as wide as the scroll area allows
  EXPECT_GT(pictureSize().width(), 64);
  // Its proportions kept, but for the rounding of each side.
  EXPECT_NEAR(pictureSize().width(), 4.0 * pictureSize().height(), 4.0);

  // Chosen again: the same window, the level kept.
  window_->controls().toolEntries[5]->trigger();
  EXPECT_EQ(window_->texturePreviewWindow(), preview);
  EXPECT_EQ(preview->levelBox()->currentIndex(), 1);

  // The Tools keys work in the preview: Export PNG of the level it shows.
  preview->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
  QTest::keyClick(preview->levelBox(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs_.fileRequests[0].fileName, "texture-level2.png");

  preview->close();
  EXPECT_FALSE(window_->logic().texturePreview().isOpen());
}

TEST_F(TexturePreviewWindowTest, FollowsTheTextOnceItRests) {
  editor_->setBytes(dxt1Texture({{8, 8}, {4, 4}}));
  window_->controls().toolEntries[5]->trigger();
  qt::TexturePreviewWindow* preview = window_->texturePreviewWindow();
  ASSERT_NE(preview, nullptr);
  ASSERT_EQ(preview->levelBox()->count(), 2);

  editor_->setSelStart(0);
  editor_->setSelText("<!-- a note -->");
  editor_->replaceAllText(dxt1Texture({{16, 16}, {8, 8}, {4, 4}}));
  EXPECT_EQ(preview->levelBox()->count(), 2);  // not yet: the text has not rested
  QTest::qWait(600);
  EXPECT_EQ(preview->levelBox()->count(), 3);

  editor_->replaceAllText("<cRecordSet/>");
  QTest::qWait(600);
  EXPECT_EQ(preview->levelBox()->count(), 0);
  EXPECT_FALSE(preview->levelBox()->isEnabled());
  EXPECT_EQ(preview->statusLabel()->text().toStdString(), shell::kNoTextureMessage);
  EXPECT_TRUE(preview->pictureLabel()->pixmap().isNull());
}

TEST_F(TexturePreviewWindowTest, TheToolsMenuListsTheTextureEntriesWithTheirKeys) {
  const QStringList expected = {QStringLiteral("Texture Preview"), QStringLiteral("Export DDS..."),
                                QStringLiteral("Export PNG..."), QStringLiteral("Import DDS..."),
                                QStringLiteral("Import PNG...")};
  const QStringList keys = {QStringLiteral("Ctrl+T"), QStringLiteral("Ctrl+E"),
                            QStringLiteral("Ctrl+Shift+E"), QStringLiteral("Ctrl+I"),
                            QStringLiteral("Ctrl+Shift+I")};
  for (int i = 0; i < expected.size(); ++i) {
    QAction* entry = window_->controls().toolEntries[5 + static_cast<std::size_t>(i)];
    EXPECT_EQ(entry->text(), expected[i]);
    EXPECT_EQ(entry->shortcut().toString(), keys[i]);
  }
  // No key is taken twice in the whole menu.
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i)
    for (std::size_t j = i + 1; j < shell::kToolsMenuEntries.size(); ++j)
      EXPECT_NE(shell::toolKeyText(shell::kToolsMenuEntries[i]),
                shell::toolKeyText(shell::kToolsMenuEntries[j]));
}

}  // namespace
}  // namespace vantrel::testing
