#pragma once
#include <array>

#include "shell/MainWindowControls.h"
#include "shell/WindowPlacement.h"

// Where every control of the main window goes, in pixels of the client
// area, for an outer window size in pixels and the window's DPI: the design
// places of the table with the resize rules applied to the rows that follow
// the window. Pure arithmetic, no window.
namespace vantrel::win32 {

using ControlPlaces = std::array<shell::PixelRect, shell::kMainWindowControls.size()>;

ControlPlaces placeControls(int outerWidth, int outerHeight, unsigned dpi);

// The design places, before any resize rule (as the controls are created).
ControlPlaces designPlaces(unsigned dpi);

}  // namespace vantrel::win32
