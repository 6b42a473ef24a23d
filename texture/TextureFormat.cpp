#include "texture/TextureFormat.h"

#include <algorithm>

namespace vantrel::texture {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::uint64_t bytesPerBlock(BlockFormat format) { return format == BlockFormat::Dxt1 ? 8 : 16; }
std::uint64_t blocksAcross(std::uint32_t pixels) { return (std::uint64_t{pixels} + 3) / 4; }

}  // namespace

std::string_view fourCc(BlockFormat format) {
  switch (format) {
    case BlockFormat::Dxt1:
      return "DXT1";
    case BlockFormat::Dxt3:
      return "DXT3";
    case BlockFormat::Dxt5:
      return "DXT5";
  }
  return "DXT1";
}

std::optional<BlockFormat> blockFormatNamed(std::string_view formatName) {
  if (formatName == kDxt1FormatName) return BlockFormat::Dxt1;
  if (formatName == kDxt3FormatName) return BlockFormat::Dxt3;
  if (formatName == kDxt5FormatName) return BlockFormat::Dxt5;
  return std::nullopt;
}

std::optional<std::string_view> firstFormatValue(std::string_view text) {
  constexpr std::string_view kTag = "<Format";
  // "<Format" followed by what may end a tag name; "<FormatVersion" is
  // another element.
  std::size_t tag = text.find(kTag);
  while (tag != std::string_view::npos) {
    const std::size_t after = tag + kTag.size();
    if (after < text.size() && (kBlanks.find(text[after]) != std::string_view::npos ||
                                text[after] == '>' || text[after] == '/')) {
      break;
    }
    tag = text.find(kTag, after);
  }
  if (tag == std::string_view::npos) return std::nullopt;

  const std::size_t close = text.find('>', tag);
  if (close == std::string_view::npos || text[close - 1] == '/') return std::string_view();
  const std::size_t end = std::min(text.find('<', close), text.size());
  std::string_view value = text.substr(close + 1, end - close - 1);
  const std::size_t first = value.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::string_view();
  value = value.substr(first);
  return value.substr(0, value.find_last_not_of(kBlanks) + 1);
}

std::uint64_t imageBytes(BlockFormat format, std::uint32_t width, std::uint32_t height) {
  return blocksAcross(width) * blocksAcross(height) * bytesPerBlock(format);
}

std::uint64_t mipChainBytes(BlockFormat format, std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) return 0;
  std::uint64_t total = imageBytes(format, width, height);
  while (width > 1 || height > 1) {
    width = std::max<std::uint32_t>(1, width / 2);
    height = std::max<std::uint32_t>(1, height / 2);
    total += imageBytes(format, width, height);
  }
  return total;
}

}  // namespace vantrel::texture
