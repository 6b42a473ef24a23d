#pragma once
#include <optional>
#include <string>
#include <vector>

#include "shell/MainWindowControls.h"
#include "shell/Settings.h"

// Turning the stored window geometry (twips of the outer frame) into a
// placement on today's screens, and the window's geometry back into a line.
// Pixels of the screen's coordinate system; no toolkit.
namespace vantrel::shell {

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct FramePlacement {
  std::optional<PixelRect> frameSize;  // width and height used; nullopt: keep the design size
  std::optional<PixelRect> framePos;   // left and top used; nullopt: the window system places it
};

// True when enough of the frame's top edge (where the title bar is) lies
// inside one of the screens' available areas for the user to grab it.
bool titleBarReachable(const PixelRect& frame, const std::vector<PixelRect>& availableAreas);

// The placement for stored twips: the size when usable (an outer size below
// the window's minimum client size would cut controls off, so the design
// size stays), the position only when the restored frame's title bar lies
// on one of availableAreas.
FramePlacement placementFromSettings(const Settings& stored, double twipsPerPixel,
                                     const std::vector<PixelRect>& availableAreas);

// The settings line for a frame in pixels, each number rounded and clamped
// to the range the file can hold.
Settings settingsFromFrame(const PixelRect& frame, double twipsPerPixel,
                           const std::string& viewerPath);

}  // namespace vantrel::shell
