#include "ui/win32/Twips.h"

#include <cmath>

namespace vantrel::win32 {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;
}  // namespace

unsigned windowDpi(HWND window) {
  const unsigned dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
  return dpi != 0 ? dpi : kDefaultDpi;
}

double twipsPerPixel(unsigned dpi) { return kTwipsPerInch / (dpi != 0 ? dpi : kDefaultDpi); }

int twipsToPixels(double twips, unsigned dpi) {
  return static_cast<int>(std::lround(twips / twipsPerPixel(dpi)));
}

double pixelsToTwips(int pixels, unsigned dpi) { return pixels * twipsPerPixel(dpi); }

int fontHeightForPoints(double points, unsigned dpi) {
  return -static_cast<int>(std::lround(points * (dpi != 0 ? dpi : kDefaultDpi) / kPointsPerInch));
}

}  // namespace vantrel::win32
