#pragma once
#include <cstdint>
#include <vector>

namespace vantrel::texture {

// A picture of width x height pixels, 4 bytes each in the order red, green,
// blue, alpha (alpha 255 is opaque), rows from top to bottom with no padding:
// pixel (x, y) starts at byte 4 * (y * width + x). Windows draw it as it is
// (Qt: QImage::Format_RGBA8888; Win32: swap red and blue for a 32-bit DIB).
struct RgbaImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // 4 * width * height bytes
};

}  // namespace vantrel::texture
