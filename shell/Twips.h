#pragma once
#include <cmath>

// Positions and sizes are designed in twips (1/1440 inch); a pixel is
// 1440 / DPI twips, so a window keeps its proportions on any screen. Each
// window finds its DPI; the arithmetic is here.
namespace vantrel::shell {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kDefaultDpi = 96.0;

// Twips per pixel at dpi; the default DPI when it is unknown (0).
inline double twipsPerPixel(double dpi) { return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi); }

// Rounded to the nearest pixel.
inline int twipsToPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

}  // namespace vantrel::shell
