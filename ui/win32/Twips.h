#pragma once
#include <windows.h>

// Positions and sizes are designed in twips (1/1440 inch); a pixel is
// 1440 / DPI twips, so the window keeps its proportions on any screen.
namespace vantrel::win32 {

inline constexpr unsigned kDefaultDpi = 96;

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
