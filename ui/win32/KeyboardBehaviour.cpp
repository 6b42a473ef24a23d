#include "ui/win32/KeyboardBehaviour.h"

#include <commctrl.h>

#include <cwctype>

namespace vantrel::win32 {

namespace {

constexpr UINT_PTR kEnterSubclass = 1;
constexpr UINT_PTR kEditorSubclass = 2;

bool isEnter(WPARAM key) { return key == VK_RETURN; }
bool isLineBreakCharacter(WPARAM character) { return character == L'\r' || character == L'\n'; }
bool controlIsDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }
bool shiftIsDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

LRESULT CALLBACK enterSubclass(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter belongs to the box, not to the window's default button.
      const auto* pending = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = DefSubclassProc(box, message, wParam, lParam);
      if (pending != nullptr && pending->message == WM_KEYDOWN && isEnter(pending->wParam))
        code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // Alt+Enter
      if (isEnter(wParam)) {
        if (GetWindowTextLengthW(box) > 0) pressButton(reinterpret_cast<HWND>(data));
        return 0;
      }
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (isLineBreakCharacter(wParam)) return 0;  // a one-line box: no beep, no text
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, enterSubclass, id);
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK editorSubclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      return DefSubclassProc(control, message, wParam, lParam) & ~DLGC_HASSETSEL;
    case WM_KEYDOWN:
      if (wParam == VK_TAB && controlIsDown()) {
        const HWND window = GetAncestor(control, GA_ROOT);
        const HWND next = GetNextDlgTabItem(window, control, shiftIsDown() ? TRUE : FALSE);
        if (next != nullptr && next != control) SetFocus(next);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\t' && controlIsDown()) return 0;  // the character some layouts give Ctrl+Tab
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, editorSubclass, id);
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void pressButton(HWND button) {
  if (button == nullptr || !IsWindowEnabled(button)) return;
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void enterPressesButton(HWND box, HWND button) {
  SetWindowSubclass(box, enterSubclass, kEnterSubclass, reinterpret_cast<DWORD_PTR>(button));
}

void editorKeyboard(HWND editor) { SetWindowSubclass(editor, editorSubclass, kEditorSubclass, 0); }

wchar_t accessKeyOf(const wchar_t* caption) {
  if (caption == nullptr) return 0;
  for (const wchar_t* c = caption; *c != 0; ++c) {
    if (*c != L'&') continue;
    if (c[1] == L'&') {  // "&&" shows one "&"
      ++c;
      continue;
    }
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c[1])));
  }
  return 0;
}

}  // namespace vantrel::win32
