#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "texture/TextureProblem.h"

// A .dds or .png file put into a texture's XML text. The result is the whole
// new text: a window replaces the editor's text with it as one undoable step.
namespace vantrel::texture {

// The import worked: the new text and what changed.
struct ImportedTexture {
  std::string text;     // the whole new XML text
  std::string summary;  // one sentence, e.g. "Replaced 5 levels of 256 × 64 DXT5."
};

// The file's block format differs from the texture's: nothing changed yet.
// A window asks `question` (Yes/No); on Yes it calls importDds again with
// ImportChoices::changeFormat set, which also rewrites every Format value.
struct FormatChangeNeeded {
  std::string textureFormatName;  // e.g. "HC_IMAGE_FORMAT_COMPRESSED"
  std::string fileFormatName;     // e.g. "HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA"
  std::string question;           // e.g. "The texture is DXT1 and the file is DXT5. Change..."
};

using ImportResult = std::variant<ImportedTexture, FormatChangeNeeded, TextureProblem>;

struct ImportChoices {
  bool changeFormat = false;  // take the file's block format instead of asking
};

// A DXT1, DXT3 or DXT5 .dds file (with or without mip levels) into the
// texture text. The same size and number of levels: each level's blob data
// (and d:size) is replaced, the rest of the text stays byte for byte. Another
// size or number of levels: the Mip element's levels are rebuilt from the
// file (each new cHcImageDx with a d:id found nowhere else in the text) and
// the texture's own Width and Height follow the largest level.
// Refused, text unchanged: not a DDS file, a size that is not a whole number
// of 4 x 4 blocks, uncompressed data, cube maps, volume textures, a file
// shorter than its levels, a texture text readTextureLevels refuses.
ImportResult importDds(std::string_view text, std::span<const std::uint8_t> dds,
                       ImportChoices choices = {});

// A PNG file into the texture text: its width and height must each be a
// power of two ("...must be a power of two" otherwise). It is compressed into
// the texture's block format at libsquish's best quality, with the mip chain
// made down to 1 x 1 by averaging 2 x 2 pixels, and then put in as importDds
// puts a file in. Never gives FormatChangeNeeded. Refused, text unchanged:
// not a PNG file, a texture whose format is not DXT1, DXT3 or DXT5.
ImportResult importPng(std::string_view text, std::span<const std::uint8_t> png);

}  // namespace vantrel::texture
