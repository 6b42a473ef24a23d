#include "shell/WindowPlacement.h"

#include "shell/Twips.h"

#include <algorithm>
#include <cmath>

namespace vantrel::shell {

namespace {
// A strip this high along the frame's top edge stands for the title bar, and
// at least this much of its width must be on a screen to grab the window.
constexpr int kTitleBarStrip = 24;
constexpr int kGrabbableWidth = 64;

// Width of the horizontal overlap of two rectangles that also overlap
// vertically; 0 otherwise.
int overlapWidth(const PixelRect& a, const PixelRect& b) {
  const int left = std::max(a.left, b.left);
  const int right = std::min(a.left + a.width, b.left + b.width);
  const int top = std::max(a.top, b.top);
  const int bottom = std::min(a.top + a.height, b.top + b.height);
  return right > left && bottom > top ? right - left : 0;
}
}  // namespace

bool titleBarReachable(const PixelRect& frame, const std::vector<PixelRect>& availableAreas) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  const PixelRect titleBar{frame.left, frame.top, frame.width,
                           std::min(kTitleBarStrip, frame.height)};
  const int needed = std::min(kGrabbableWidth, frame.width);
  for (const PixelRect& area : availableAreas) {
    const int overlap = overlapWidth(titleBar, area);
    if (overlap > 0 && overlap >= needed) return true;
  }
  return false;
}

FramePlacement placementFromSettings(const Settings& stored, double twipsPerPixel,
                                     const std::vector<PixelRect>& availableAreas) {
  FramePlacement placement;
  PixelRect frame{twipsToPixels(stored.left, twipsPerPixel),
                  twipsToPixels(stored.top, twipsPerPixel), 0, 0};
  if (stored.width >= kMinimumClientWidth && stored.height >= kMinimumClientHeight) {
    frame.width = twipsToPixels(stored.width, twipsPerPixel);
    frame.height = twipsToPixels(stored.height, twipsPerPixel);
    placement.frameSize = frame;
  }
  // Judge the position with the size the window will really have; without a
  // usable stored size only the corner's neighbourhood can be judged.
  PixelRect judged = frame;
  if (frame.width <= 0 || frame.height <= 0) {
    judged.width = kGrabbableWidth;
    judged.height = kTitleBarStrip;
  }
  if (titleBarReachable(judged, availableAreas)) placement.framePos = frame;
  return placement;
}

Settings settingsFromFrame(const PixelRect& frame, double twipsPerPixel,
                           const std::string& viewerPath) {
  Settings settings;
  settings.width = toSettingsNumber(frame.width * twipsPerPixel);
  settings.height = toSettingsNumber(frame.height * twipsPerPixel);
  settings.top = toSettingsNumber(frame.top * twipsPerPixel);
  settings.left = toSettingsNumber(frame.left * twipsPerPixel);
  settings.viewerPath = viewerPath;
  return settings;
}

}  // namespace vantrel::shell
