#pragma once
#include <cstdint>
#include <span>

#include "texture/RgbaImage.h"
#include "texture/TextureProblem.h"

// PNG files through libpng. Writing them is encodePng (TextureExport.h).
namespace vantrel::texture {

// The picture of a PNG file of any colour type and depth, as 8-bit RGBA.
// Refused: not a PNG file, a damaged one, a side above 32767 pixels.
TextureResult<RgbaImage> decodePng(std::span<const std::uint8_t> file);

}  // namespace vantrel::texture
