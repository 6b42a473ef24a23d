#pragma once
#include <windows.h>

#include "shell/Twips.h"

// The window's DPI, and twips (shell/Twips.h) at it.
namespace vantrel::win32 {

inline constexpr unsigned kDefaultDpi = static_cast<unsigned>(shell::kDefaultDpi);

// The DPI of the monitor the window is on (the system's before it exists).
// Windows before 10 (1607) have no per-window DPI: there it is the
// system's.
unsigned windowDpi(HWND window);

// The outer rectangle for a client rectangle at a DPI
// (AdjustWindowRectExForDpi where Windows has it).
void adjustOuterRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, unsigned dpi);

double twipsPerPixel(unsigned dpi);
// Rounded to the nearest pixel.
int twipsToPixels(double twips, unsigned dpi);
double pixelsToTwips(int pixels, unsigned dpi);

// Points (1/72 inch) as the height a LOGFONT takes: negative, for the
// character height without the internal leading.
int fontHeightForPoints(double points, unsigned dpi);

}  // namespace vantrel::win32
