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
// Callers that read a texture text from a file refuse a longer one before
// reading it: the most data a text can give (a whole 32767 x 32767 DXT3 mip
// chain, 1.43 GB) written as serz writes it (69 characters for every 32
// bytes) takes 3.1 GB.
inline constexpr std::uint64_t kLargestTextureText = std::uint64_t{4} << 30;
// In a text without a Format element, the text that marks a texture with
// explicit alpha (DXT3 instead of DXT1).
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
// CR and LF between them, decoded into the bytes after the header.
//
// The format comes from the first Format element, as serz writes it for every
// mip level: HC_IMAGE_FORMAT_COMPRESSED gives DXT1, ..._COMPRESSED_EXPL_ALPHA
// DXT3 and ..._COMPRESSED_INTERP_ALPHA DXT5; any other value is refused. The
// data must then be exactly one image of the texture's width and height, in
// whole 4 x 4 blocks (8 bytes each for DXT1, 16 for DXT3 and DXT5).
// A text without a Format element (written by hand) is DXT3 when
// FORMAT_COMPRESSED_EXPL_ALPHA occurs anywhere in it, otherwise DXT1; its
// data may run short (the bytes it does not reach stay 0) but N may not
// exceed a whole DXT3 mip chain of width x height.
//
// Refused, with the reason: a missing tag or quote, a width or height outside
// 0 to 32767, a size below 0 or too large for a 32-bit file, a format or size
// against the rules above, any character in the data other than hexadecimal
// digits, blanks, CR and LF, an odd number of digits, and more digit pairs
// than N. A width, height or size text without a leading number is refused
// with the text it gives.
DdsResult buildDds(std::string_view textureText);

}  // namespace vantrel::texture
