#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "texture/RgbaImage.h"
#include "texture/TextureProblem.h"

// A texture text's levels written out as files (the caller writes the bytes,
// e.g. with files::replaceWhole, so a failed export leaves no file).
namespace vantrel::texture {

// A whole .dds file holding every level of the texture text, the largest
// first: mip count set, DDSD_MIPMAPCOUNT in the flags, caps
// DDSCAPS_COMPLEX | DDSCAPS_MIPMAP | DDSCAPS_TEXTURE (a texture of one level
// gets the plain header Convert to DDS writes). Refused: levels of different
// formats, or levels that are not each half the size of the one before.
TextureResult<std::vector<std::uint8_t>> exportAllLevelsDds(std::string_view text);

// A PNG file (8-bit RGBA) of one level, levelIndex counting from 0 in the
// order readTextureLevels gives them.
TextureResult<std::vector<std::uint8_t>> exportLevelPng(std::string_view text,
                                                        std::size_t levelIndex);

// The PNG file of a picture (8-bit RGBA, not interlaced).
TextureResult<std::vector<std::uint8_t>> encodePng(const RgbaImage& image);

}  // namespace vantrel::texture
