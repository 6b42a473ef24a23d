#pragma once
#include <windows.h>

// Keyboard behaviour of single controls, attached by subclassing them, so
// that keys reach it whether they come through the message loop or are
// sent to the control directly.
namespace vantrel::win32 {

// A programmatic press: the button's click reaches its parent at once, as
// WM_COMMAND BN_CLICKED, and the focus stays where it is. A disabled button
// is not pressed.
void pressButton(HWND button);

// Enter in the box (with any of Shift, Ctrl, Alt) presses button when the
// box is not empty; the key types nothing and the focus stays in the box.
void enterPressesButton(HWND box, HWND button);

// The editor takes Tab as text; Ctrl+Tab moves the focus to the next
// control of its window and Ctrl+Shift+Tab to the previous one. Tabbing into
// it keeps its caret and selection (a dialog would select the whole text).
void editorKeyboard(HWND editor);

// The access key of a caption: the letter after a single "&", lower case;
// 0 when there is none.
wchar_t accessKeyOf(const wchar_t* caption);

}  // namespace vantrel::win32
