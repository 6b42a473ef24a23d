#include "texture/TextureExport.h"

#include "texture/DdsFile.h"
#include "texture/LevelDecoder.h"
#include "texture/LevelOrder.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {

TextureResult<std::vector<std::uint8_t>> exportAllLevelsDds(std::string_view text) {
  auto read = readTextureLevels(text);
  if (auto* bad = std::get_if<TextureProblem>(&read)) return std::move(*bad);
  const std::vector<TextureLevel>& levels = std::get<TextureLevels>(read).levels;
  const std::vector<std::size_t> order = largestFirst(levels);
  if (auto why = whyNotAChain(levels, order))
    return TextureProblem{"The levels cannot be exported: " + *why + "."};
  DdsTexture texture;
  texture.format = *levels[order.front()].blockFormat;
  for (const std::size_t index : order) {
    auto data = levelData(text, levels[index]);
    if (auto* bad = std::get_if<TextureProblem>(&data)) return std::move(*bad);
    texture.levels.push_back(DdsLevel{levels[index].width, levels[index].height,
                                      std::move(std::get<std::vector<std::uint8_t>>(data))});
  }
  return writeDds(texture);
}

TextureResult<std::vector<std::uint8_t>> exportLevelPng(std::string_view text,
                                                        std::size_t levelIndex) {
  auto read = readTextureLevels(text);
  if (auto* bad = std::get_if<TextureProblem>(&read)) return std::move(*bad);
  const std::vector<TextureLevel>& levels = std::get<TextureLevels>(read).levels;
  if (levelIndex >= levels.size()) {
    return TextureProblem{"The texture has " + std::to_string(levels.size()) +
                          " levels; there is no level " + std::to_string(levelIndex + 1) + "."};
  }
  auto picture = decodeLevel(text, levels[levelIndex]);
  if (auto* bad = std::get_if<TextureProblem>(&picture)) return std::move(*bad);
  return encodePng(std::get<RgbaImage>(picture));
}

}  // namespace vantrel::texture
