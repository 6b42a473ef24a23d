#pragma once
#include <QRect>
#include <vector>

#include "shell/WindowPlacement.h"

class QWidget;

// The window system's side of restoring and saving the window's place.
namespace vantrel::qt {

shell::PixelRect toPixelRect(const QRect& rect);

// The available areas of the screens attached now.
std::vector<shell::PixelRect> currentScreenAreas();

// The outer frame the window has when shown normally (not minimized or
// maximized), in pixels.
QRect normalFrameGeometry(const QWidget& window);

}  // namespace vantrel::qt
