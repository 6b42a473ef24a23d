// The toolkit under the core's tests and benchmarks on Windows: Scintilla's
// Win32 control beside an EDIT box in a small top-level window.
#include <windows.h>

#include "tests/support/TestEditor.h"
#include "ui/win32/Application.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/ScintillaControl.h"
#include "ui/win32/WindowClass.h"

namespace vantrel::testing {

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kFindBoxHeight = 24;
constexpr const wchar_t* kHostClass = L"VantrelTestEditorHost";

class Win32TestEditor : public TestEditor {
 public:
  Win32TestEditor() {
    win32::registerWindowClass(kHostClass, win32::windowProcedure<Win32TestEditor>);
    host_ = CreateWindowExW(0, kHostClass, L"Vantrel test editor", WS_OVERLAPPEDWINDOW, 0, 0,
                            kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    control_ = std::make_unique<win32::ScintillaControl>(host_, 1);
    RECT client{};
    GetClientRect(host_, &client);
    SetWindowPos(control_->hwnd(), nullptr, 0, 0, client.right, client.bottom - kFindBoxHeight,
                 SWP_NOZORDER);
    findBox_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0,
                               client.bottom - kFindBoxHeight, client.right, kFindBoxHeight, host_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Win32TestEditor() override {
    control_.reset();
    DestroyWindow(host_);
  }
  void attach(HWND hwnd) { host_ = hwnd; }
  // The control's notices are passed on, as in the main window.
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && control_) control_->notified(*reinterpret_cast<NMHDR*>(lParam));
    return DefWindowProcW(host_, message, wParam, lParam);
  }
  platform::Editor& editor() override { return control_->editor(); }
  void show() override {
    ShowWindow(host_, SW_SHOWNOACTIVATE);
    paint();
  }
  void paint() override {
    win32::pumpPendingMessages();
    RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  void type(char character) override {
    SetFocus(control_->hwnd());
    // A key as the keyboard delivers it once translated; bytes above 0x7F
    // stand for the Latin-1 character of that number.
    const auto wide = static_cast<WPARAM>(static_cast<unsigned char>(character));
    SendMessageW(control_->hwnd(), WM_CHAR, wide, 1);
  }

 private:
  HWND host_ = nullptr;
  HWND findBox_ = nullptr;
  std::unique_ptr<win32::ScintillaControl> control_;
};

}  // namespace

std::unique_ptr<TestEditor> makeTestEditor() { return std::make_unique<Win32TestEditor>(); }

void processToolkitEvents() { win32::pumpPendingMessages(); }

std::shared_ptr<void> startToolkit(int&, char**) {
  win32::startWindows();
  return std::shared_ptr<void>(nullptr, [](void*) { win32::stopWindows(); });
}

}  // namespace vantrel::testing
