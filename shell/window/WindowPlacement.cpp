#include "shell/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vantrel::shell {

namespace {
// A strip this high along the frame's top edge stands for the title bar, and
// at least this much of its width must be on a screen to grab the window.
constexpr int kTitleBarStrip = 24;
constexpr int kGrabbableWidth = 64;

int toPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}
}  // namespace

bool titleBarReachable(const QRect& frame, const QList<QRect>& availableAreas) {
  if (frame.width() <= 0 || frame.height() <= 0) return false;
  const QRect titleBar(frame.left(), frame.top(), frame.width(),
                       std::min(kTitleBarStrip, frame.height()));
  const int needed = std::min(kGrabbableWidth, frame.width());
  for (const QRect& area : availableAreas) {
    const QRect overlap = titleBar.intersected(area);
    if (!overlap.isEmpty() && overlap.width() >= needed) return true;
  }
  return false;
}

FramePlacement placementFromSettings(const Settings& stored, double twipsPerPixel,
                                     const QList<QRect>& availableAreas) {
  FramePlacement placement;
  QSize size;
  if (stored.width >= kMinimumOuterWidth && stored.height >= kMinimumOuterHeight) {
    size = QSize(toPixels(stored.width, twipsPerPixel), toPixels(stored.height, twipsPerPixel));
    placement.frameSize = size;
  }
  const QPoint pos(toPixels(stored.left, twipsPerPixel), toPixels(stored.top, twipsPerPixel));
  // Judge the position with the size the window will really have; without a
  // usable stored size only the corner's neighbourhood can be judged.
  const QSize judged = size.isValid() && !size.isEmpty() ? size : QSize(kGrabbableWidth, kTitleBarStrip);
  if (titleBarReachable(QRect(pos, judged), availableAreas)) placement.framePos = pos;
  return placement;
}

QList<QRect> currentScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.append(screen->availableGeometry());
  return areas;
}

QRect normalFrameGeometry(const QWidget& window) {
  // normalGeometry() is the client area as it is or will be when shown
  // normally (it stays so while maximized or minimized); the frame adds the
  // margins the window has now.
  QRect client = window.normalGeometry();
  if (client.isEmpty()) client = window.geometry();
  const QRect frame = window.frameGeometry();
  const QRect current = window.geometry();
  const int leftMargin = current.left() - frame.left();
  const int topMargin = current.top() - frame.top();
  const int extraWidth = frame.width() - current.width();
  const int extraHeight = frame.height() - current.height();
  return QRect(client.left() - leftMargin, client.top() - topMargin, client.width() + extraWidth,
               client.height() + extraHeight);
}

Settings settingsFromFrame(const QRect& frame, double twipsPerPixel, const std::string& viewerPath) {
  Settings settings;
  settings.width = toSettingsNumber(frame.width() * twipsPerPixel);
  settings.height = toSettingsNumber(frame.height() * twipsPerPixel);
  settings.top = toSettingsNumber(frame.top() * twipsPerPixel);
  settings.left = toSettingsNumber(frame.left() * twipsPerPixel);
  settings.viewerPath = viewerPath;
  return settings;
}

}  // namespace vantrel::shell
