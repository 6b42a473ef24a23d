#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texture/TextureFormat.h"
#include "texture/TextureProblem.h"

// The mip levels of a texture's XML text (as serz writes a .TgPcDx file):
// where each level lies in the text, so that it can be shown, exported or
// replaced.
namespace vantrel::texture {

// A piece of the text: `length` bytes from byte `offset`.
struct TextSpan {
  std::size_t offset = 0;
  std::size_t length = 0;
};

// One cHcImageDx element: one mip level.
struct TextureLevel {
  std::string formatName;                  // the Format element's value, as written
  std::optional<BlockFormat> blockFormat;  // DXT1/3/5, or nullopt for any other format
  std::uint32_t width = 0;                 // the level's Width element
  std::uint32_t height = 0;                // the level's Height element
  std::uint64_t dataSize = 0;              // the d:size of its d:blob: bytes of data
  TextSpan element;                        // "<cHcImageDx" up to and including "</cHcImageDx>"
  TextSpan sizeValue;                      // the digits of the blob's d:size="..."
  TextSpan data;  // the blob's content: between its start tag's '>' and "</d:blob>"
  // The element texts of Format, Width and Height, and the digits of the
  // element's own d:id (nullopt when it has none): an import rewrites them.
  TextSpan formatValue;
  TextSpan widthValue;
  TextSpan heightValue;
  std::optional<TextSpan> idValue;
};

// Every level of a texture text, in the order the text gives them (usually
// the largest first, but nothing here relies on that).
struct TextureLevels {
  std::vector<TextureLevel> levels;  // at least one
  // The texture's own Width and Height elements (in cHcTexture, before its
  // Data), when the text has them before its Mip element; an import of another size rewrites them.
  std::optional<TextSpan> textureWidthValue;
  std::optional<TextSpan> textureHeightValue;
  // The content of the Mip element that holds the levels (between "<Mip>"
  // and "</Mip>"): an import with another number of levels rewrites it.
  TextSpan mipContent;
};

// The levels of a texture text. Refused, with the reason and the line: a
// text without cHcImageDx elements ("...is not a texture"), more than one
// Mip element (several textures in one file) or none around the levels, a
// level without its Format, Width, Height or d:blob (with its d:size), an
// element left open, a width or height that is not a whole number from 1 to
// 32767, and DXT data whose d:size is not exactly the whole 4 x 4 blocks of
// the level's size.
TextureResult<TextureLevels> readTextureLevels(std::string_view text);

// "Level 1: 256 × 64, DXT5" — how a window lists a level (UTF-8; index
// counts from 0 in the call, from 1 in the text).
std::string describeLevel(const TextureLevel& level, std::size_t index);

// The bytes of a level's blob (its hexadecimal digit pairs decoded), exactly
// dataSize of them; refused for any other character or count.
TextureResult<std::vector<std::uint8_t>> levelData(std::string_view text,
                                                   const TextureLevel& level);

}  // namespace vantrel::texture
