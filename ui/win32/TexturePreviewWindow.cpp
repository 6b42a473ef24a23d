#include "ui/win32/TexturePreviewWindow.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/core/WideText.h"
#include "shell/TexturePreview.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/WindowClass.h"

namespace vantrel::win32 {

namespace {

constexpr const wchar_t* kZoomNames[] = {L"Fit", L"1:1", L"2:1"};
constexpr const wchar_t* kViewNames[] = {L"Colour with alpha over checks", L"Colour without alpha",
                                         L"Alpha only"};
// The window's first size and the places of its rows, in pixels at 96 dpi.
constexpr int kStartWidth = 660, kStartHeight = 540;
constexpr int kMargin = 8, kRowHeight = 24, kListHeight = 200, kStatusHeight = 34;
constexpr int kScrollLine = 16;

// The picture child's messages go to the preview window that created it.
LRESULT CALLBACK pictureProcedure(HWND picture, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<TexturePreviewWindow*>(GetWindowLongPtrW(picture, GWLP_USERDATA));
  if (owner == nullptr) return DefWindowProcW(picture, message, wParam, lParam);
  return owner->handlePictureMessage(picture, message, wParam, lParam);
}

void registerPictureClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), TexturePreviewWindow::kPictureClassName,
                      &existing))
    return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = pictureProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = TexturePreviewWindow::kPictureClassName;
  RegisterClassExW(&windowClass);
}

HWND child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, WORD id,
           void* param = nullptr) {
  return CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), param);
}

void fillList(HWND list, const wchar_t* const* names, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
  SendMessageW(list, CB_SETCURSEL, 0, 0);
}

int selectionOf(HWND list) { return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)); }

}  // namespace

TexturePreviewWindow::TexturePreviewWindow(shell::TexturePreview& model, HWND owner,
                                           std::function<bool(MSG&)> keyHook)
    : model_(model) {
  registerWindowClass(kClassName, windowProcedure<TexturePreviewWindow>);
  registerPictureClass();
  CreateWindowExW(0, kClassName, L"Texture Preview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr),
                  this);
  if (hwnd_ == nullptr) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, scaled(kStartWidth), scaled(kStartHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  createControls();
  registerDialogWindow(hwnd_, std::move(keyHook));
  layOut();
}

TexturePreviewWindow::~TexturePreviewWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
}

int TexturePreviewWindow::scaled(int pixels) const {
  const UINT dpi = hwnd_ != nullptr ? GetDpiForWindow(hwnd_) : 96;
  return MulDiv(pixels, static_cast<int>(dpi == 0 ? 96 : dpi), 96);
}

void TexturePreviewWindow::createControls() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  const DWORD list = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  row_ = {
      child(hwnd_, L"STATIC", L"Level:", SS_CENTERIMAGE, 0xFFFF),
      child(hwnd_, L"COMBOBOX", L"", list | WS_GROUP, kPreviewLevelsId),
      child(hwnd_, L"STATIC", L"Zoom:", SS_CENTERIMAGE, 0xFFFF),
      child(hwnd_, L"COMBOBOX", L"", list, kPreviewZoomId),
      child(hwnd_, L"STATIC", L"View:", SS_CENTERIMAGE, 0xFFFF),
      child(hwnd_, L"COMBOBOX", L"", list, kPreviewViewId),
  };
  const HWND rest[] = {
      child(hwnd_, kPictureClassName, L"", WS_BORDER | WS_HSCROLL | WS_VSCROLL, kPreviewPictureId,
            this),
      child(hwnd_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kPreviewStatusId),
  };
  const auto font = reinterpret_cast<WPARAM>(font_);
  for (HWND control : row_) SendMessageW(control, WM_SETFONT, font, 0);
  for (HWND control : rest) SendMessageW(control, WM_SETFONT, font, 0);
  fillList(control(kPreviewZoomId), kZoomNames, std::size(kZoomNames));
  fillList(control(kPreviewViewId), kViewNames, std::size(kViewNames));
  SendMessageW(control(kPreviewZoomId), CB_SETCURSEL, static_cast<WPARAM>(model_.zoom()), 0);
  SendMessageW(control(kPreviewViewId), CB_SETCURSEL, static_cast<WPARAM>(model_.view()), 0);
}

// The lists in one row at the top, the status line at the bottom, the
// picture between them.
void TexturePreviewWindow::layOut() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int margin = scaled(kMargin), row = scaled(kRowHeight);
  int x = margin;
  const auto place = [&](HWND control, int width, int height) {
    SetWindowPos(control, nullptr, x, margin, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    x += width + margin / 2;
  };
  const int widths[] = {36, 170, 40, 60, 36, 190};
  for (std::size_t i = 0; i < row_.size(); ++i) {
    // A list's height includes its drop-down part.
    const bool isList = i % 2 == 1;
    place(row_[i], scaled(widths[i]), isList ? scaled(kListHeight) : row);
  }
  const int statusHeight = scaled(kStatusHeight);
  const int top = margin + row + margin;
  const int bottom = std::max(top, static_cast<int>(client.bottom) - statusHeight - margin);
  SetWindowPos(control(kPreviewPictureId), nullptr, margin, top,
               std::max(0, static_cast<int>(client.right) - 2 * margin), bottom - top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(control(kPreviewStatusId), nullptr, margin, bottom + margin / 2,
               std::max(0, static_cast<int>(client.right) - 2 * margin), statusHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  fitPicture();
}

void TexturePreviewWindow::showInFront() {
  refresh();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(control(kPreviewLevelsId));
}

void TexturePreviewWindow::refresh() {
  HWND levels = control(kPreviewLevelsId);
  SendMessageW(levels, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : model_.levelNames())
    SendMessageW(levels, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::utf8ToWide(name).c_str()));
  if (!model_.levelNames().empty()) SendMessageW(levels, CB_SETCURSEL, model_.level(), 0);
  EnableWindow(levels, model_.levelNames().empty() ? FALSE : TRUE);
  SetWindowTextW(control(kPreviewStatusId), platform::utf8ToWide(model_.status()).c_str());
  takePicture();
}

void TexturePreviewWindow::takePicture() {
  const texture::RgbaImage& picture = model_.picture();
  pictureWidth_ = picture.width;
  pictureHeight_ = picture.height;
  bgra_ = picture.pixels;
  for (std::size_t i = 0; i + 3 < bgra_.size(); i += 4) std::swap(bgra_[i], bgra_[i + 2]);
  scrollX_ = scrollY_ = 0;
  fitPicture();
}

// The drawn size for the viewport, and the scroll bars for it: each shown
// only while the picture is larger than the room on its side.
void TexturePreviewWindow::fitPicture() {
  HWND picture = control(kPreviewPictureId);
  if (picture == nullptr) return;
  RECT outer{};
  GetWindowRect(picture, &outer);
  // The room without scroll bars and border decides a fitted size, so
  // that the bars, hidden then, do not change it again.
  const int border = 2 * GetSystemMetrics(SM_CXBORDER);
  const auto roomWidth =
      static_cast<std::uint32_t>(std::max(0L, outer.right - outer.left - border));
  const auto roomHeight =
      static_cast<std::uint32_t>(std::max(0L, outer.bottom - outer.top - border));
  drawn_ = model_.drawnSize(roomWidth, roomHeight);
  if (bgra_.empty()) drawn_ = {};

  for (int pass = 0; pass < 2; ++pass) {  // a bar shown takes room from the other side
    RECT client{};
    GetClientRect(picture, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = static_cast<int>(drawn_.width) - 1;
    info.nPage = static_cast<UINT>(client.right);
    scrollX_ = std::clamp(
        scrollX_, 0, std::max(0, static_cast<int>(drawn_.width) - static_cast<int>(client.right)));
    info.nPos = scrollX_;
    SetScrollInfo(picture, SB_HORZ, &info, TRUE);
    info.nMax = static_cast<int>(drawn_.height) - 1;
    info.nPage = static_cast<UINT>(client.bottom);
    scrollY_ =
        std::clamp(scrollY_, 0,
                   std::max(0, static_cast<int>(drawn_.height) - static_cast<int>(client.bottom)));
    info.nPos = scrollY_;
    SetScrollInfo(picture, SB_VERT, &info, TRUE);
  }
  InvalidateRect(picture, nullptr, TRUE);
}

void TexturePreviewWindow::paintPicture(HWND picture) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(picture, &paint);
  RECT client{};
  GetClientRect(picture, &client);
  if (!bgra_.empty() && drawn_.width > 0 && drawn_.height > 0) {
    // Smaller than the room: centred; larger: from the scrolled-to corner.
    const int left = drawn_.width < static_cast<std::uint32_t>(client.right)
                         ? (client.right - static_cast<int>(drawn_.width)) / 2
                         : -scrollX_;
    const int top = drawn_.height < static_cast<std::uint32_t>(client.bottom)
                        ? (client.bottom - static_cast<int>(drawn_.height)) / 2
                        : -scrollY_;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(pictureWidth_);
    info.bmiHeader.biHeight = -static_cast<LONG>(pictureHeight_);  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Enlarged, each texel stays a sharp square; reduced, texels are averaged.
    const bool enlarged = drawn_.width >= pictureWidth_;
    SetStretchBltMode(dc, enlarged ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, left, top, static_cast<int>(drawn_.width), static_cast<int>(drawn_.height), 0,
                  0, static_cast<int>(pictureWidth_), static_cast<int>(pictureHeight_),
                  bgra_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    ExcludeClipRect(dc, left, top, left + static_cast<int>(drawn_.width),
                    top + static_cast<int>(drawn_.height));
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
  EndPaint(picture, &paint);
}

void TexturePreviewWindow::scroll(HWND picture, int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(picture, bar, &info);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP:
      position -= scaled(kScrollLine);
      break;
    case SB_LINEDOWN:
      position += scaled(kScrollLine);
      break;
    case SB_PAGEUP:
      position -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      position += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = info.nMin;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  position = std::clamp(position, 0, std::max(0, info.nMax - static_cast<int>(info.nPage) + 1));
  (bar == SB_HORZ ? scrollX_ : scrollY_) = position;
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(picture, bar, &info, TRUE);
  InvalidateRect(picture, nullptr, FALSE);
}

void TexturePreviewWindow::onCommand(WORD id, WORD code) {
  if (code != CBN_SELCHANGE) return;
  const int chosen = selectionOf(control(id));
  if (chosen < 0) return;
  switch (id) {
    case kPreviewLevelsId:
      model_.chooseLevel(static_cast<std::size_t>(chosen));
      refresh();
      break;
    case kPreviewZoomId:
      model_.setZoom(static_cast<shell::PreviewZoom>(chosen));
      scrollX_ = scrollY_ = 0;
      fitPicture();
      break;
    case kPreviewViewId:
      model_.setView(static_cast<shell::PreviewView>(chosen));
      takePicture();
      break;
  }
}

LRESULT TexturePreviewWindow::handlePictureMessage(HWND picture, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paintPicture(picture);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT, without flicker
    case WM_HSCROLL:
      scroll(picture, SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      scroll(picture, SB_VERT, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      scroll(picture, SB_VERT,
             GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? WORD{SB_LINEUP} : WORD{SB_LINEDOWN});
      return 0;
  }
  return DefWindowProcW(picture, message, wParam, lParam);
}

LRESULT TexturePreviewWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED && control(kPreviewPictureId) != nullptr) layOut();
      return 0;
    case WM_CLOSE:
      // Kept for the next showing; the model lets go of the text.
      ShowWindow(hwnd_, SW_HIDE);
      model_.setOpen(false);
      return 0;
    case WM_DESTROY:
      unregisterDialogWindow(hwnd_);
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace vantrel::win32
