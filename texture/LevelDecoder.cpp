#include "texture/LevelDecoder.h"

namespace vantrel::texture {

TextureResult<RgbaImage> decodeLevel(std::string_view, const TextureLevel&) {
  return TextureProblem{"Decoding texture levels is not built yet."};
}

}  // namespace vantrel::texture
