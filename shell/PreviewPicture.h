#pragma once
#include <cstdint>

#include "texture/RgbaImage.h"

// How Texture Preview turns a decoded level into the picture a window draws
// as it is: the same pixels in the Qt window and the Win32 window.
namespace vantrel::shell {

// What of the level's pixels is shown.
enum class PreviewView {
  ColourOverChecks,  // colour, blended by its alpha over a grey checkerboard
  ColourOnly,        // colour with the alpha ignored (every pixel opaque)
  AlphaOnly,         // the alpha as grey: black transparent, white opaque
};

// How large the picture is drawn.
enum class PreviewZoom {
  Fit,     // as large as fits the viewport, keeping its proportions
  Actual,  // 1:1, one screen pixel per texel
  Double,  // 2:1
};

// The side of one checkerboard square, in texels.
inline constexpr std::uint32_t kCheckerSquare = 8;

// The picture of image for view: opaque in every view.
texture::RgbaImage previewPicture(const texture::RgbaImage& image, PreviewView view);

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size in screen pixels at which a picture of width x height is drawn
// with zoom in a viewport of viewportWidth x viewportHeight pixels. Fit
// keeps the proportions and never makes a side smaller than 1 pixel; a
// viewport without room (0 pixels) gives the picture's own size.
PictureSize drawnSize(std::uint32_t width, std::uint32_t height, PreviewZoom zoom,
                      std::uint32_t viewportWidth, std::uint32_t viewportHeight);

}  // namespace vantrel::shell
