#include "texture/MipChain.h"

#include <algorithm>

namespace vantrel::texture {

RgbaImage halfSize(const RgbaImage& image) {
  RgbaImage half;
  half.width = std::max<std::uint32_t>(1, image.width / 2);
  half.height = std::max<std::uint32_t>(1, image.height / 2);
  half.pixels.resize(std::size_t{4} * half.width * half.height);
  const std::uint32_t stepX = image.width > 1 ? 2 : 1;
  const std::uint32_t stepY = image.height > 1 ? 2 : 1;
  const unsigned count = stepX * stepY;
  for (std::uint32_t y = 0; y < half.height; ++y) {
    for (std::uint32_t x = 0; x < half.width; ++x) {
      for (std::size_t c = 0; c < 4; ++c) {
        unsigned sum = 0;
        for (std::uint32_t dy = 0; dy < stepY; ++dy) {
          for (std::uint32_t dx = 0; dx < stepX; ++dx) {
            const std::size_t from =
                4 * (std::size_t{y * stepY + dy} * image.width + (x * stepX + dx)) + c;
            sum += image.pixels[from];
          }
        }
        half.pixels[4 * (std::size_t{y} * half.width + x) + c] =
            static_cast<std::uint8_t>((sum + count / 2) / count);
      }
    }
  }
  return half;
}

std::vector<RgbaImage> mipChain(const RgbaImage& image, std::size_t levels) {
  std::vector<RgbaImage> chain{image};
  while (levels == 0 ? (chain.back().width > 1 || chain.back().height > 1)
                     : chain.size() < levels) {
    chain.push_back(halfSize(chain.back()));
  }
  return chain;
}

}  // namespace vantrel::texture
