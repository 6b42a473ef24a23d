#pragma once

// What the windows need of the process, once, before the first window:
// the common controls (tooltips, Common Controls 6 through the manifest),
// Scintilla's window class, and the message pump that lets the windows
// repaint while a converter runs.
namespace vantrel::win32 {

void startWindows();
// Takes the message pump away again (for tests that end their toolkit).
void stopWindows();

}  // namespace vantrel::win32
