#pragma once
#include <string_view>

#include "texture/DdsFile.h"
#include "texture/TextureImport.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {

// Puts the levels of `texture` into the texture text whose levels are
// `levels`: the blobs replaced in place when the sizes match level for
// level, the Mip element's levels rebuilt otherwise (see importDds). A
// different block format gives FormatChangeNeeded unless `changeFormat`;
// `source` names the file in messages ("DDS file", "PNG file").
ImportResult writeLevels(std::string_view text, const TextureLevels& levels,
                         const DdsTexture& texture, bool changeFormat, std::string_view source);

// The Format value serz writes for a block format.
std::string_view formatName(BlockFormat format);

}  // namespace vantrel::texture
