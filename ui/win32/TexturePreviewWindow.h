#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "shell/PreviewPicture.h"

namespace vantrel::shell {
class TexturePreview;
}

namespace vantrel::win32 {

// The controls' ids, for tests.
inline constexpr WORD kPreviewLevelsId = 100;
inline constexpr WORD kPreviewZoomId = 101;
inline constexpr WORD kPreviewViewId = 102;
inline constexpr WORD kPreviewPictureId = 103;
inline constexpr WORD kPreviewStatusId = 104;

// The Texture Preview window on Windows: a modeless window owned by the
// main window over the core's TexturePreview, with the level, zoom and view
// lists, the picture in a scrolled child (a 32-bit DIB drawn with
// StretchDIBits) and the status line. It only draws the model and forwards
// the choices to it; closing hides it and tells the model.
class TexturePreviewWindow {
 public:
  inline static constexpr const wchar_t* kClassName = L"VantrelTexturePreview";
  inline static constexpr const wchar_t* kPictureClassName = L"VantrelTexturePicture";

  // keyHook sees the window's key messages first (the Tools keys of the
  // main window); true when it handled one.
  TexturePreviewWindow(shell::TexturePreview& model, HWND owner,
                       std::function<bool(MSG&)> keyHook = {});
  ~TexturePreviewWindow();
  TexturePreviewWindow(const TexturePreviewWindow&) = delete;
  TexturePreviewWindow& operator=(const TexturePreviewWindow&) = delete;

  // Draws the model as it is now, shows the window and brings it to the front.
  void showInFront();
  // Draws the model as it is now: level list, picture, status.
  void refresh();

  HWND hwnd() const { return hwnd_; }
  HWND control(WORD id) const { return GetDlgItem(hwnd_, id); }
  // The picture's size on the screen as last drawn.
  shell::PictureSize drawnSize() const { return drawn_; }

  // For the window procedures.
  void attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handlePictureMessage(HWND picture, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createControls();
  void layOut();
  void onCommand(WORD id, WORD code);
  // The picture in the DIB's order (blue, green, red, alpha), its drawn
  // size and the scroll bars for the viewport as it is now.
  void takePicture();
  void fitPicture();
  void paintPicture(HWND picture);
  void scroll(HWND picture, int bar, WORD request);
  int scaled(int pixels) const;

  shell::TexturePreview& model_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  // The top row, left to right: each list after its label.
  std::array<HWND, 6> row_{};
  std::vector<std::uint8_t> bgra_;
  std::uint32_t pictureWidth_ = 0, pictureHeight_ = 0;
  shell::PictureSize drawn_;
  int scrollX_ = 0, scrollY_ = 0;
};

}  // namespace vantrel::win32
