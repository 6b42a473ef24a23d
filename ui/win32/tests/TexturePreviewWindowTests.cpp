// Texture Preview on Windows under Wine: Ctrl+T from the editor opens one
// window titled "Texture Preview" that draws the chosen level at each zoom,
// follows edits of the text once they rest, and hides when closed, telling
// the model.
#include "ui/win32/tests/WindowFixture.h"
// after the fixture (windows.h)
#include "shell/TexturePreview.h"
#include "tests/texture/TextureLevelsText.h"
#include "ui/win32/CreateControls.h"
#include "ui/win32/TexturePreviewWindow.h"

namespace vantrel::testing {
namespace {

using texture::BlockFormat;

std::string dxt1Texture(std::vector<texture::testing::LevelShape> shapes) {
  return texture::testing::levelsXml(std::string(texture::kDxt1FormatName), BlockFormat::Dxt1,
                                     shapes);
}

std::string windowTitle(HWND window) { return textOf(window); }

// Chooses entry index of a list as a user does: the selection, then the
// notice its parent gets.
void choose(win32::TexturePreviewWindow& preview, WORD id, int index) {
  SendMessageW(preview.control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(preview.hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(preview.control(id)));
  pump();
}

int count(win32::TexturePreviewWindow& preview, WORD id) {
  return static_cast<int>(SendMessageW(preview.control(id), CB_GETCOUNT, 0, 0));
}

class TexturePreviewWindowTest : public WindowFixture {
 protected:
  // After the fixture's own set-up: the window takes its scripted dialogs.
  void SetUp() override {
    WindowFixture::SetUp();
    window_ = showMainWindow();
  }
  void TearDown() override {
    window_.reset();
    WindowFixture::TearDown();
  }
  std::unique_ptr<win32::MainWindow> window_;
};

TEST_F(TexturePreviewWindowTest, CtrlTInTheEditorOpensOneWindowThatDrawsTheLevels) {
  window_->editor().setBytes(dxt1Texture({{64, 16}, {32, 8}, {16, 4}}));
  SetFocus(window_->controls().editor->hwnd());
  typeKey('T', {VK_CONTROL});
  win32::TexturePreviewWindow* preview = window_->texturePreviewWindow();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(IsWindowVisible(preview->hwnd()));
  EXPECT_EQ(windowTitle(preview->hwnd()), "Texture Preview");
  EXPECT_EQ(count(*preview, win32::kPreviewLevelsId), 3);
  EXPECT_EQ(textOf(preview->control(win32::kPreviewStatusId)), "Level 1 of 3: 64 × 16, DXT1");
  // The key went to the menu's command, not to the editor (Ctrl+T swaps
  // lines there).
  EXPECT_FALSE(window_->editor().isModified());

  choose(*preview, win32::kPreviewZoomId, 1);  // 1:1
  EXPECT_EQ(preview->drawnSize(), (shell::PictureSize{64, 16}));
  choose(*preview, win32::kPreviewLevelsId, 1);
  EXPECT_EQ(textOf(preview->control(win32::kPreviewStatusId)), "Level 2 of 3: 32 × 8, DXT1");
  EXPECT_EQ(preview->drawnSize(), (shell::PictureSize{32, 8}));
  choose(*preview, win32::kPreviewZoomId, 2);  // 2:1
  EXPECT_EQ(preview->drawnSize(), (shell::PictureSize{64, 16}));
  choose(*preview, win32::kPreviewZoomId, 0);  // Fit: as wide as the picture area allows
  EXPECT_GT(preview->drawnSize().width, 64u);
  // Its proportions kept, but for the rounding of each side.
  EXPECT_NEAR(preview->drawnSize().width, 4.0 * preview->drawnSize().height, 4.0);

  // Chosen again from the menu: the same window, the level kept.
  SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(win32::toolEntryId(5), 0), 0);
  pump();
  EXPECT_EQ(window_->texturePreviewWindow(), preview);
  EXPECT_EQ(SendMessageW(preview->control(win32::kPreviewLevelsId), CB_GETCURSEL, 0, 0), 1);

  // The Tools keys work in the preview: Export PNG of the level it shows.
  SetForegroundWindow(preview->hwnd());
  SetFocus(preview->control(win32::kPreviewLevelsId));
  pump();
  typeKey('E', {VK_CONTROL, VK_SHIFT});
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs_.fileRequests[0].fileName, "texture-level2.png");

  SendMessageW(preview->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));
  EXPECT_FALSE(window_->logic().texturePreview().isOpen());
}

TEST_F(TexturePreviewWindowTest, FollowsTheTextOnceItRests) {
  platform::Editor& editor = window_->editor();
  editor.setBytes(dxt1Texture({{8, 8}, {4, 4}}));
  SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(win32::toolEntryId(5), 0), 0);
  pump();
  win32::TexturePreviewWindow* preview = window_->texturePreviewWindow();
  ASSERT_NE(preview, nullptr);
  ASSERT_EQ(count(*preview, win32::kPreviewLevelsId), 2);

  editor.replaceAllText(dxt1Texture({{16, 16}, {8, 8}, {4, 4}}));
  UpdateWindow(window_->controls().editor->hwnd());
  EXPECT_EQ(count(*preview, win32::kPreviewLevelsId), 2);  // not yet: the text has not rested
  EXPECT_TRUE(pumpUntil([&] { return count(*preview, win32::kPreviewLevelsId) == 3; }));

  editor.replaceAllText("<cRecordSet/>");
  EXPECT_TRUE(pumpUntil([&] { return count(*preview, win32::kPreviewLevelsId) == 0; }));
  EXPECT_FALSE(IsWindowEnabled(preview->control(win32::kPreviewLevelsId)));
  EXPECT_EQ(textOf(preview->control(win32::kPreviewStatusId)), shell::kNoTextureMessage);
  EXPECT_EQ(preview->drawnSize(), (shell::PictureSize{0, 0}));
}

TEST_F(TexturePreviewWindowTest, TextThatIsNoTextureOpensNoWindow) {
  window_->editor().setBytes("<cRecordSet/>");
  SetFocus(window_->controls().editor->hwnd());
  typeKey('T', {VK_CONTROL});
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, shell::kNoTextureMessage);
  EXPECT_EQ(window_->texturePreviewWindow(), nullptr);
}

}  // namespace
}  // namespace vantrel::testing
