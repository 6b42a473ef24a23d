#include "texture/TextureImport.h"

#include <bit>

#include "texture/BlockCodec.h"
#include "texture/DdsFile.h"
#include "texture/LevelOrder.h"
#include "texture/LevelWriter.h"
#include "texture/MipChain.h"
#include "texture/PngFile.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {
namespace {

// The smallest side a PNG may have: one whole 4 x 4 block, as a DDS file's.
constexpr std::uint32_t kSmallestSide = 4;

std::optional<TextureProblem> checkPngSide(std::string_view name, std::uint32_t side,
                                           const RgbaImage& picture) {
  const std::string size =
      std::to_string(picture.width) + " \xC3\x97 " + std::to_string(picture.height);
  if (!std::has_single_bit(side)) {
    return TextureProblem{"The PNG file cannot be imported: it is " + size + " pixels, and its " +
                          std::string(name) + " must be a power of two (4, 8, 16, ... 16384)."};
  }
  if (side < kSmallestSide) {
    return TextureProblem{"The PNG file cannot be imported: it is " + size + " pixels, and its " +
                          std::string(name) + " must be at least 4."};
  }
  return std::nullopt;
}

}  // namespace

ImportResult importDds(std::string_view text, std::span<const std::uint8_t> dds,
                       ImportChoices choices) {
  auto read = readTextureLevels(text);
  if (auto* bad = std::get_if<TextureProblem>(&read)) return std::move(*bad);
  auto file = readDds(dds);
  if (auto* bad = std::get_if<TextureProblem>(&file)) return std::move(*bad);
  return writeLevels(text, std::get<TextureLevels>(read), std::get<DdsTexture>(file),
                     choices.changeFormat, "DDS file");
}

ImportResult importPng(std::string_view text, std::span<const std::uint8_t> png) {
  auto read = readTextureLevels(text);
  if (auto* bad = std::get_if<TextureProblem>(&read)) return std::move(*bad);
  const TextureLevels& levels = std::get<TextureLevels>(read);
  const std::vector<std::size_t> order = largestFirst(levels.levels);
  const TextureLevel& top = levels.levels[order.front()];
  if (!top.blockFormat) {
    return TextureProblem{
        "A PNG file can be imported only into a DXT1, DXT3 or DXT5 texture; "
        "this one is " +
        top.formatName + "."};
  }
  auto decoded = decodePng(png);
  if (auto* bad = std::get_if<TextureProblem>(&decoded)) return std::move(*bad);
  const RgbaImage& picture = std::get<RgbaImage>(decoded);
  if (auto bad = checkPngSide("width", picture.width, picture)) return *bad;
  if (auto bad = checkPngSide("height", picture.height, picture)) return *bad;

  // A picture of the texture's size keeps the texture's number of levels
  // (the simulator's files often stop at 4 pixels a side); another size gets
  // the whole chain down to 1 x 1.
  const bool sameSize = picture.width == top.width && picture.height == top.height &&
                        !whyNotAChain(levels.levels, order);
  const std::vector<RgbaImage> chain = mipChain(picture, sameSize ? levels.levels.size() : 0);
  DdsTexture texture;
  texture.format = *top.blockFormat;
  for (const RgbaImage& level : chain) {
    texture.levels.push_back(
        DdsLevel{level.width, level.height, compressBlocks(texture.format, level)});
  }
  return writeLevels(text, levels, texture, true, "PNG file");
}

}  // namespace vantrel::texture
