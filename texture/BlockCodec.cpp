#include "texture/BlockCodec.h"

#include <squish.h>

namespace vantrel::texture {
namespace {

int squishFormat(BlockFormat format) {
  switch (format) {
    case BlockFormat::Dxt1:
      return squish::kDxt1;
    case BlockFormat::Dxt3:
      return squish::kDxt3;
    case BlockFormat::Dxt5:
      return squish::kDxt5;
  }
  return squish::kDxt1;
}

}  // namespace

RgbaImage decompressBlocks(BlockFormat format, std::uint32_t width, std::uint32_t height,
                           std::span<const std::uint8_t> blocks) {
  RgbaImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(std::size_t{4} * width * height, 0);
  squish::DecompressImage(image.pixels.data(), static_cast<int>(width), static_cast<int>(height),
                          blocks.data(), squishFormat(format));
  return image;
}

std::vector<std::uint8_t> compressBlocks(BlockFormat format, const RgbaImage& image) {
  std::vector<std::uint8_t> blocks(imageBytes(format, image.width, image.height));
  squish::CompressImage(image.pixels.data(), static_cast<int>(image.width),
                        static_cast<int>(image.height), blocks.data(),
                        squishFormat(format) | squish::kColourIterativeClusterFit);
  return blocks;
}

}  // namespace vantrel::texture
