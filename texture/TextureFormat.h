#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// The block-compressed formats of the simulator's textures and what a .dds
// file needs to know about them.
namespace vantrel::texture {

// DXT1: 8 bytes per 4 x 4 block; DXT3 and DXT5: 16 bytes per block (an
// explicit or an interpolated alpha block before the colour block).
enum class BlockFormat { Dxt1, Dxt3, Dxt5 };

// The names serz writes in a texture's Format elements.
inline constexpr std::string_view kDxt1FormatName = "HC_IMAGE_FORMAT_COMPRESSED";
inline constexpr std::string_view kDxt3FormatName = "HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA";
inline constexpr std::string_view kDxt5FormatName = "HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA";

// "DXT1", "DXT3" or "DXT5": the FourCC of the .dds header.
std::string_view fourCc(BlockFormat format);

// The format a Format element's value names; nullopt for any other value.
std::optional<BlockFormat> blockFormatNamed(std::string_view formatName);

// The value of the first Format element of an XML text (the element's text
// without the blanks, tabs and line breaks around it; empty for <Format/>),
// found by plain search as the other values of a texture text are; nullopt
// when the text has no element named exactly Format.
std::optional<std::string_view> firstFormatValue(std::string_view text);

// Bytes of one width x height image: whole 4 x 4 blocks, so a 6 x 6 DXT1
// image takes 2 x 2 blocks of 8 bytes.
std::uint64_t imageBytes(BlockFormat format, std::uint32_t width, std::uint32_t height);

// Bytes of a whole mip chain from width x height down to 1 x 1, each level in
// whole blocks: about width x height x 4/3 for DXT3 and DXT5. 0 when width or
// height is 0.
std::uint64_t mipChainBytes(BlockFormat format, std::uint32_t width, std::uint32_t height);

}  // namespace vantrel::texture
