#include "texture/TextureLevels.h"

namespace vantrel::texture {

TextureResult<TextureLevels> readTextureLevels(std::string_view) {
  return TextureProblem{"Reading texture levels is not built yet."};
}

std::string describeLevel(const TextureLevel& level, std::size_t index) {
  return "Level " + std::to_string(index + 1) + ": " + std::to_string(level.width) + " \xC3\x97 " +
         std::to_string(level.height) + ", " + level.formatName;
}

TextureResult<std::vector<std::uint8_t>> levelData(std::string_view, const TextureLevel&) {
  return TextureProblem{"Reading texture levels is not built yet."};
}

}  // namespace vantrel::texture
