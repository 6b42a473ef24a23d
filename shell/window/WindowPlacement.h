#pragma once
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>

#include "shell/Settings.h"

class QWidget;

// Turning the stored window geometry (twips of the outer frame) into a
// placement on today's screens, and the window's geometry back into a line.
namespace vantrel::shell {

// Smallest outer size (twips) the resize rules are made for; a stored size
// below it would open a window too small to use.
inline constexpr int kMinimumOuterWidth = 800;
inline constexpr int kMinimumOuterHeight = 3500;

struct FramePlacement {
  std::optional<QSize> frameSize;  // pixels; nullopt: keep the design size
  std::optional<QPoint> framePos;  // pixels; nullopt: the window system places it
};

// True when enough of the frame's top edge (where the title bar is) lies
// inside one of the screens' available areas for the user to grab it.
bool titleBarReachable(const QRect& frame, const QList<QRect>& availableAreas);

// The placement for stored twips: the size when usable, the position only
// when the restored frame's title bar lies on one of availableAreas.
FramePlacement placementFromSettings(const Settings& stored, double twipsPerPixel,
                                     const QList<QRect>& availableAreas);

// The available areas of the screens attached now.
QList<QRect> currentScreenAreas();

// The outer frame the window has when shown normally (not minimized or
// maximized), in pixels.
QRect normalFrameGeometry(const QWidget& window);

// The settings line for a frame in pixels, each number rounded and clamped
// to the range the file can hold.
Settings settingsFromFrame(const QRect& frame, double twipsPerPixel, const std::string& viewerPath);

}  // namespace vantrel::shell
