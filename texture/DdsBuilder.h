#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Builds a DirectDraw Surface file from the XML text of a texture.
namespace vantrel::texture {

inline constexpr std::size_t kDdsHeaderSize = 128;  // magic + DDS_HEADER
// The text that marks a texture with explicit alpha (DXT3 instead of DXT1).
inline constexpr std::string_view kExplicitAlphaMark = "FORMAT_COMPRESSED_EXPL_ALPHA";

// Why a texture text cannot become a .dds file; the text completes the
// sentence "the texture text ...", e.g. "has no \"<Width\" start tag".
struct DdsProblem {
  std::string text;
};

using DdsResult = std::variant<std::vector<std::uint8_t>, DdsProblem>;

// The whole .dds file (128 + N bytes) for a texture text. The text is
// searched, not parsed: the element texts after the first "<Width" and
// "<Height" start tags, the first quoted value after "<d:blob" (N, the data
// size) and that element's content, hexadecimal digit pairs with any blanks,
// CR and LF between them. The data is decoded into the bytes after the
// header; bytes the text does not reach stay 0. FORMAT_COMPRESSED_EXPL_ALPHA
// anywhere selects DXT3, otherwise DXT1.
//
// Refused, with the reason: a missing tag or quote, a width or height outside
// 0 to 32767, a size below 0 or too large for a 32-bit file, any character in
// the data other than hexadecimal digits, blanks, CR and LF, and more digit
// pairs than N. A final unpaired digit is ignored.
DdsResult buildDds(std::string_view textureText);

}  // namespace vantrel::texture
