#include "texture/PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "texture/TextureExport.h"

namespace vantrel::texture {
namespace {

constexpr std::uint32_t kLargestSide = 32767;

// Frees libpng's state however the reading ends.
struct ImageGuard {
  png_image& image;
  ~ImageGuard() { png_image_free(&image); }
};

}  // namespace

TextureResult<RgbaImage> decodePng(std::span<const std::uint8_t> file) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || !std::equal(file.begin(), file.begin() + 8, kSignature))
    return TextureProblem{"The file is not a PNG file (it does not start with PNG's signature)."};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ImageGuard guard{image};
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
    return TextureProblem{"The PNG file cannot be read: " + std::string(image.message) + "."};
  if (image.width > kLargestSide || image.height > kLargestSide) {
    return TextureProblem{"The PNG file is " + std::to_string(image.width) + " \xC3\x97 " +
                          std::to_string(image.height) +
                          " pixels; a texture is at most 32767 a side."};
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage picture;
  picture.width = image.width;
  picture.height = image.height;
  try {
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
  } catch (const std::bad_alloc&) {
    return TextureProblem{"The PNG file is too large for the memory this machine gives."};
  }
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
    return TextureProblem{"The PNG file cannot be read: " + std::string(image.message) + "."};
  return picture;
}

TextureResult<std::vector<std::uint8_t>> encodePng(const RgbaImage& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  ImageGuard guard{image};
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), 0, nullptr))
    return TextureProblem{"The PNG file cannot be made: " + std::string(image.message) + "."};
  std::vector<std::uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.pixels.data(), 0, nullptr))
    return TextureProblem{"The PNG file cannot be made: " + std::string(image.message) + "."};
  bytes.resize(size);
  return bytes;
}

}  // namespace vantrel::texture
