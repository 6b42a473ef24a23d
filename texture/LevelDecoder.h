#pragma once
#include <string_view>

#include "texture/RgbaImage.h"
#include "texture/TextureLevels.h"
#include "texture/TextureProblem.h"

namespace vantrel::texture {

// The picture of one level of a texture text, for Texture Preview and PNG
// export: DXT1, DXT3 and DXT5 are decoded as Direct3D does (libsquish).
// Other formats are refused with a message that names them, e.g.
// "HC_IMAGE_FORMAT_COL888 textures cannot be shown yet: ...".
// `level` comes from readTextureLevels(text) of the same text.
TextureResult<RgbaImage> decodeLevel(std::string_view text, const TextureLevel& level);

}  // namespace vantrel::texture
