#include "ui/qt/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace vantrel::qt {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
}  // namespace

double twipsPerPixel(const QWidget* widget) {
  double dpi = 0;
  if (widget != nullptr) {
    dpi = widget->logicalDpiX();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    dpi = screen->logicalDotsPerInchX();
  }
  if (!(dpi > 0)) dpi = kFallbackDpi;
  return kTwipsPerInch / dpi;
}

int twipsToPixels(double twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips / twipsPerPixel(widget)));
}

double pixelsToTwips(int pixels, const QWidget* widget) { return pixels * twipsPerPixel(widget); }

}  // namespace vantrel::qt
