#pragma once
#include <windows.h>

// The program's own top-level window classes. Each window is a C++ object
// whose handleMessage(message, wParam, lParam) answers the window's
// messages; the object is handed over through CreateWindowExW's last
// argument and found again from the window handle.
namespace vantrel::win32 {

// Registers the class once per process (with the program's icon, the
// dialog background colour and the arrow cursor).
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

template <typename Window>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    window->attach(hwnd);
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return window->handleMessage(message, wParam, lParam);
}

}  // namespace vantrel::win32
