#include "ui/win32/MainWindowLayout.h"

#include <algorithm>

#include "shell/ControlPlaces.h"
#include "ui/win32/Twips.h"

namespace vantrel::win32 {

namespace {

shell::PixelRect toPixels(const shell::TwipsRect& r, unsigned dpi) {
  return {twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi),
          std::max(0, twipsToPixels(r.width, dpi)), std::max(0, twipsToPixels(r.height, dpi))};
}

}  // namespace

ControlPlaces designPlaces(unsigned dpi) {
  ControlPlaces places{};
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i)
    places[i] = toPixels(shell::designPlace(shell::kMainWindowControls[i]), dpi);
  return places;
}

ControlPlaces placeControls(int outerWidth, int outerHeight, unsigned dpi) {
  const shell::ResizeLayout out = shell::computeResizeLayout(
      shell::resizeInputFor(static_cast<float>(pixelsToTwips(outerWidth, dpi)),
                            static_cast<float>(pixelsToTwips(outerHeight, dpi))));
  ControlPlaces places{};
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i)
    places[i] = toPixels(shell::placeAfterResize(shell::kMainWindowControls[i], out), dpi);
  return places;
}

}  // namespace vantrel::win32
