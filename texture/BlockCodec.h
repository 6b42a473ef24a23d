#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "texture/RgbaImage.h"
#include "texture/TextureFormat.h"

// DXT1, DXT3 and DXT5 blocks to pixels and back, through libsquish.
namespace vantrel::texture {

// The picture of width x height pixels held in `blocks`, which must be
// exactly imageBytes(format, width, height) long.
RgbaImage decompressBlocks(BlockFormat format, std::uint32_t width, std::uint32_t height,
                           std::span<const std::uint8_t> blocks);

// The blocks of a picture at libsquish's best quality (iterative cluster
// fit), imageBytes(format, width, height) bytes.
std::vector<std::uint8_t> compressBlocks(BlockFormat format, const RgbaImage& image);

}  // namespace vantrel::texture
