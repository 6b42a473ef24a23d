#pragma once
#include <windows.h>

#include <vector>

#include "shell/WindowPlacement.h"

// What the placement rules need to know of the screens and of a window's
// frame, in screen pixels.
namespace vantrel::win32 {

// The work area (without task bars) of every monitor there is now.
std::vector<shell::PixelRect> screenWorkAreas();

// The outer frame of the window as it is, or as it will be when restored
// while it is minimized or maximized.
shell::PixelRect normalFrame(HWND window);

shell::PixelRect toPixelRect(const RECT& rect);

}  // namespace vantrel::win32
