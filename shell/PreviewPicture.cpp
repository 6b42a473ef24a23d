#include "shell/PreviewPicture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vantrel::shell {

namespace {

constexpr std::uint8_t kLightSquare = 204;
constexpr std::uint8_t kDarkSquare = 153;

std::uint8_t blend(std::uint8_t colour, std::uint8_t behind, std::uint8_t alpha) {
  // Rounded (colour * alpha + behind * (255 - alpha)) / 255.
  return static_cast<std::uint8_t>((colour * alpha + behind * (255 - alpha) + 127) / 255);
}

}  // namespace

texture::RgbaImage previewPicture(const texture::RgbaImage& image, PreviewView view) {
  texture::RgbaImage picture{image.width, image.height, image.pixels};
  std::uint8_t* p = picture.pixels.data();
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x, p += 4) {
      switch (view) {
        case PreviewView::ColourOverChecks: {
          const bool light = ((x / kCheckerSquare) + (y / kCheckerSquare)) % 2 == 0;
          const std::uint8_t behind = light ? kLightSquare : kDarkSquare;
          for (int c = 0; c < 3; ++c) p[c] = blend(p[c], behind, p[3]);
          break;
        }
        case PreviewView::ColourOnly:
          break;
        case PreviewView::AlphaOnly:
          p[0] = p[1] = p[2] = p[3];
          break;
      }
      p[3] = 255;
    }
  }
  return picture;
}

PictureSize drawnSize(std::uint32_t width, std::uint32_t height, PreviewZoom zoom,
                      std::uint32_t viewportWidth, std::uint32_t viewportHeight) {
  switch (zoom) {
    case PreviewZoom::Actual:
      return {width, height};
    case PreviewZoom::Double:
      return {width * 2, height * 2};
    case PreviewZoom::Fit:
      break;
  }
  if (width == 0 || height == 0 || viewportWidth == 0 || viewportHeight == 0)
    return {width, height};
  // The side that meets the viewport first decides the scale.
  const double scale = std::min(static_cast<double>(viewportWidth) / width,
                                static_cast<double>(viewportHeight) / height);
  const auto side = [scale](std::uint32_t length, std::uint32_t room) {
    const auto scaled = static_cast<std::uint32_t>(std::lround(length * scale));
    return std::clamp<std::uint32_t>(scaled, 1, room);
  };
  return {side(width, viewportWidth), side(height, viewportHeight)};
}

}  // namespace vantrel::shell
