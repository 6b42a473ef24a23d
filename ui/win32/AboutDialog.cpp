#include "ui/win32/AboutDialog.h"

#include "platform/core/WideText.h"
#include "shell/AboutDialogDesign.h"
#include "shell/StartupArguments.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/Twips.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/resources.h"

namespace vantrel::win32 {

namespace {

constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;
constexpr double kSmallestFittedPoints = 6.0;

struct FontDesign {
  const wchar_t* face;
  double points;
  bool bold;
};

FontDesign fontOf(shell::AboutFont kind) {
  switch (kind) {
    case shell::AboutFont::Title:
      return {kSerifFace, 12, true};
    case shell::AboutFont::Version:
      return {kSansSerifFace, 9.75, true};
    case shell::AboutFont::Regular:
      return {kSansSerifFace, 8.25, false};
    case shell::AboutFont::Dialog:
      break;
  }
  return {kSansSerifFace, 8.25, true};
}

int textWidth(HFONT font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

// Where the designed font is missing its substitute may run wider: a
// one-line label's font shrinks until the text fits its width.
UniqueFont fittedFont(FontDesign design, const std::wstring& text, int width, unsigned dpi) {
  UniqueFont font = makeFont(design.face, design.points, design.bold, dpi);
  while (design.points > kSmallestFittedPoints && textWidth(font.get(), text) > width) {
    design.points -= 0.5;
    font = makeFont(design.face, design.points, design.bold, dpi);
  }
  return font;
}

}  // namespace

AboutDialog::AboutDialog() {
  registerWindowClass(kClassName, windowProcedure<AboutDialog>);
  const std::wstring title = platform::utf8ToWide(shell::aboutTitle());
  CreateWindowExW(kDialogExStyle, kClassName, title.c_str(), kDialogStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (hwnd_ == nullptr) return;
  const unsigned dpi = windowDpi(hwnd_);
  RECT outer{0, 0, twipsToPixels(shell::kAboutWidth, dpi), twipsToPixels(shell::kAboutHeight, dpi)};
  adjustOuterRect(outer, kDialogStyle, false, kDialogExStyle, dpi);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  // In the middle of the main screen's work area.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  createControls(dpi);
  registerDialogWindow(hwnd_);
}

AboutDialog::~AboutDialog() {
  onFinished_ = nullptr;
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  mainWindow_.reset();
  if (picture_ != nullptr) DeleteObject(picture_);
}

HWND AboutDialog::addControl(const char* name, const wchar_t* windowClass, const std::wstring& text,
                             DWORD style, int left, int top, int width, int height, unsigned dpi) {
  HWND control = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                 twipsToPixels(left, dpi), twipsToPixels(top, dpi),
                                 twipsToPixels(width, dpi), twipsToPixels(height, dpi), hwnd_,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  controls_.emplace_back(name, control);
  return control;
}

void AboutDialog::createControls(unsigned dpi) {
  const shell::AboutPlaceDesign& image = shell::kAboutPicture;
  HWND picture = addControl(image.name, L"STATIC", L"", SS_BITMAP | SS_REALSIZECONTROL, image.left,
                            image.top, image.width, image.height, dpi);
  // The picture comes from the program's resources; stretched to its place.
  picture_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(VANTREL_IDB_ABOUT), IMAGE_BITMAP, 0,
                                             0, LR_CREATEDIBSECTION));
  if (picture_ != nullptr) {
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    SetWindowPos(picture, nullptr, twipsToPixels(image.left, dpi), twipsToPixels(image.top, dpi),
                 twipsToPixels(image.width, dpi), twipsToPixels(image.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  for (const shell::AboutLabelDesign& label : shell::kAboutLabels) {
    const std::wstring text = platform::utf8ToWide(shell::aboutLabelText(label));
    // The texts show "&" as it is.
    const DWORD style = SS_NOPREFIX | (label.wraps ? SS_LEFT : SS_LEFTNOWORDWRAP);
    HWND control = addControl(label.name, L"STATIC", text, style, label.left, label.top,
                              label.width, label.height, dpi);
    const FontDesign design = fontOf(label.font);
    fonts_.push_back(label.wraps ? makeFont(design.face, design.points, design.bold, dpi)
                                 : fittedFont(design, text, twipsToPixels(label.width, dpi), dpi));
    useFont(control, fonts_.back().get());
  }
  for (const shell::AboutPlaceDesign& line : shell::kAboutSeparators) {
    addControl(line.name, L"STATIC", L"", SS_ETCHEDHORZ, line.left, line.top, line.width,
               line.height, dpi);
  }

  const shell::AboutPlaceDesign& ok = shell::kAboutOkButton;
  HWND button = addControl(ok.name, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, ok.left,
                           ok.top, ok.width, ok.height, dpi);
  SetWindowLongPtrW(button, GWLP_ID, IDOK);
  const FontDesign dialogFont = fontOf(shell::AboutFont::Dialog);
  fonts_.push_back(makeFont(dialogFont.face, dialogFont.points, dialogFont.bold, dpi));
  useFont(button, fonts_.back().get());
}

HWND AboutDialog::control(std::string_view name) const {
  for (const auto& [controlName, hwnd] : controls_) {
    if (controlName == name) return hwnd;
  }
  return nullptr;
}

void AboutDialog::start(const std::vector<std::string>& arguments) {
  const shell::StartupRequest request = shell::readStartupArguments(arguments);
  if (request.fileToOpen) fileToOpen_ = *request.fileToOpen;
  if (request.skipAbout) {
    pressOk();
    return;
  }
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetFocus(control(shell::kAboutOkButton.name));
}

void AboutDialog::pressOk() {
  if (!mainWindow_) {
    mainWindow_ = std::make_unique<MainWindow>();
    mainWindow_->setOnClosed([this] { finish(); });
  }
  mainWindow_->show();
  okPressed_ = true;
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (!fileToOpen_.empty()) {
    // Once the window is on screen, so the user sees the conversion run.
    mainWindow_->openFileSoon(fileToOpen_);
    fileToOpen_.clear();
  }
}

void AboutDialog::finish() {
  if (onFinished_) onFinished_();
}

LRESULT AboutDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        pressOk();
      } else if (LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      unregisterDialogWindow(hwnd_);
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      // Closed without OK: no window is left, the program ends.
      if (!okPressed_) finish();
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace vantrel::win32
