#include "texture/TextureExport.h"

namespace vantrel::texture {

TextureResult<std::vector<std::uint8_t>> exportAllLevelsDds(std::string_view) {
  return TextureProblem{"Export is not built yet."};
}

TextureResult<std::vector<std::uint8_t>> exportLevelPng(std::string_view, std::size_t) {
  return TextureProblem{"Export is not built yet."};
}

TextureResult<std::vector<std::uint8_t>> encodePng(const RgbaImage&) {
  return TextureProblem{"Export is not built yet."};
}

}  // namespace vantrel::texture
