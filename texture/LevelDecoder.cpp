#include "texture/LevelDecoder.h"

#include "texture/BlockCodec.h"

namespace vantrel::texture {

TextureResult<RgbaImage> decodeLevel(std::string_view text, const TextureLevel& level) {
  if (!level.blockFormat) {
    // The uncompressed formats are named but no real file of them has been
    // seen, so their byte order (RGB or BGR, where alpha goes) is unknown.
    if (level.formatName == "HC_IMAGE_FORMAT_COL888" ||
        level.formatName == "HC_IMAGE_FORMAT_COLA8888") {
      return TextureProblem{level.formatName +
                            " textures cannot be shown yet: the order of their colour bytes has "
                            "not been established from real files, and a guess could show wrong "
                            "colours."};
    }
    return TextureProblem{level.formatName +
                          " textures cannot be shown: only DXT1, DXT3 and DXT5 "
                          "(HC_IMAGE_FORMAT_COMPRESSED and its _EXPL_ALPHA and _INTERP_ALPHA "
                          "forms) are decoded."};
  }
  auto data = levelData(text, level);
  if (auto* bad = std::get_if<TextureProblem>(&data)) return std::move(*bad);
  return decompressBlocks(*level.blockFormat, level.width, level.height,
                          std::get<std::vector<std::uint8_t>>(data));
}

}  // namespace vantrel::texture
