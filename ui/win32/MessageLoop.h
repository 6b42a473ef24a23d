#pragma once
#include <windows.h>

#include <functional>

// The one place messages are taken from the queue, for the program's loop
// and for the pump that lets the window repaint while a converter runs.
// Windows registered here behave like dialogs at the keyboard: Tab and
// Shift+Tab move through their controls, Enter and Escape send IDOK and
// IDCANCEL, and a window's own key hook (access keys) comes first.
namespace vantrel::win32 {

// hook: sees each message bound for the window or its controls before the
// dialog keys are handled; true when it has handled the message.
void registerDialogWindow(HWND window, std::function<bool(MSG&)> hook = {});
void unregisterDialogWindow(HWND window);

// Routes one message as described above, then translates and dispatches it.
void routeMessage(MSG& message);

// Handles every message waiting now, and returns; each timer is handled
// once at most, so work done on a timer cannot hold it. A WM_QUIT met here
// is put back for the program's loop.
void pumpPendingMessages();

// The program's loop: until WM_QUIT; returns its exit code.
int runMessageLoop();

}  // namespace vantrel::win32
