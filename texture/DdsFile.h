#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "texture/TextureFormat.h"
#include "texture/TextureProblem.h"

// .dds files of block-compressed textures with any number of mip levels.
namespace vantrel::texture {

struct DdsLevel {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> data;  // imageBytes(format, width, height) bytes
};

// A DXT1, DXT3 or DXT5 texture: its levels, the largest first, each half
// the size of the one before (at least 1).
struct DdsTexture {
  BlockFormat format = BlockFormat::Dxt1;
  std::vector<DdsLevel> levels;
};

// The whole file. One level gives the header Convert to DDS writes; more set
// the mip count, DDSD_MIPMAPCOUNT and the caps DDSCAPS_COMPLEX |
// DDSCAPS_MIPMAP | DDSCAPS_TEXTURE.
std::vector<std::uint8_t> writeDds(const DdsTexture& texture);

// The levels of a .dds file. Refused, with the reason: not a DDS file, a
// header of another size, uncompressed or other data than DXT1, DXT3 and
// DXT5 (the DX10 header included), cube maps, volume textures, a width or
// height that is not a whole number of 4 x 4 blocks or above 32767, more mip
// levels than the size allows, a file shorter than its levels.
TextureResult<DdsTexture> readDds(std::span<const std::uint8_t> file);

}  // namespace vantrel::texture
