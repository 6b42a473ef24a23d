#include "texture/DdsFile.h"

#include <algorithm>
#include <string>

#include "texture/DdsBuilder.h"

namespace vantrel::texture {
namespace {

// Header fields (offsets in the file, magic included) and flags.
constexpr std::size_t kFlags = 8, kHeight = 12, kWidth = 16, kLinearSize = 20, kDepth = 24;
constexpr std::size_t kMipCount = 28, kPixelFlags = 80, kFourCc = 84, kCaps = 108, kCaps2 = 112;
constexpr std::uint32_t kDdsdMipMapCount = 0x20000, kDdsdDepth = 0x800000;
constexpr std::uint32_t kDdpfFourCc = 0x4;
constexpr std::uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipMap = 0x400000;
constexpr std::uint32_t kCaps2CubeMap = 0x200, kCaps2Volume = 0x200000;
constexpr std::uint32_t kLargestSide = 32767;

void store(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t k = 0; k < 4; ++k) bytes[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

std::uint32_t load(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t k = 0; k < 4; ++k) value |= std::uint32_t{bytes[at + k]} << (8 * k);
  return value;
}

TextureProblem refused(const std::string& why) {
  return TextureProblem{"The DDS file cannot be imported: " + why + "."};
}

std::string pixels(std::uint32_t width, std::uint32_t height) {
  return std::to_string(width) + " \xC3\x97 " + std::to_string(height);
}

}  // namespace

std::vector<std::uint8_t> writeDds(const DdsTexture& texture) {
  std::size_t dataBytes = 0;
  for (const DdsLevel& level : texture.levels) dataBytes += level.data.size();
  std::vector<std::uint8_t> bytes(kDdsHeaderSize, 0);
  bytes.reserve(kDdsHeaderSize + dataBytes);
  const std::string_view magic = "DDS ";
  std::copy(magic.begin(), magic.end(), bytes.begin());
  store(bytes, 4, 124);
  // Caps, height, width, pixel format and linear size, as Convert to DDS.
  std::uint32_t flags = 0x00081007;
  const DdsLevel& top = texture.levels.front();
  store(bytes, kHeight, top.height);
  store(bytes, kWidth, top.width);
  // One level: its size, as Convert to DDS writes it; more: the top level's.
  store(bytes, kLinearSize, static_cast<std::uint32_t>(top.data.size()));
  if (texture.levels.size() > 1) {
    flags |= kDdsdMipMapCount;
    store(bytes, kMipCount, static_cast<std::uint32_t>(texture.levels.size()));
    store(bytes, kCaps, kCapsComplex | kCapsMipMap | kCapsTexture);
  }
  store(bytes, kFlags, flags);
  store(bytes, 76, 32);  // the pixel format's size
  store(bytes, kPixelFlags, kDdpfFourCc);
  const std::string_view code = fourCc(texture.format);
  std::copy(code.begin(), code.end(), bytes.begin() + kFourCc);
  for (const DdsLevel& level : texture.levels)
    bytes.insert(bytes.end(), level.data.begin(), level.data.end());
  return bytes;
}

TextureResult<DdsTexture> readDds(std::span<const std::uint8_t> file) {
  if (file.size() < 4 || !std::equal(file.begin(), file.begin() + 4, "DDS "))
    return refused("it is not a DDS file (it does not start with \"DDS \")");
  if (file.size() < kDdsHeaderSize) return refused("it ends inside its header");
  if (load(file, 4) != 124) return refused("its header size is not 124 bytes");
  const std::uint32_t flags = load(file, kFlags);
  const std::uint32_t caps2 = load(file, kCaps2);
  if (caps2 & kCaps2CubeMap) return refused("it is a cube map; only flat textures can be imported");
  if ((caps2 & kCaps2Volume) || ((flags & kDdsdDepth) && load(file, kDepth) > 1))
    return refused("it is a volume texture; only flat textures can be imported");

  DdsTexture texture;
  const std::string code(file.begin() + kFourCc, file.begin() + kFourCc + 4);
  if (!(load(file, kPixelFlags) & kDdpfFourCc)) {
    return refused(
        "it holds uncompressed pixels; only DXT1, DXT3 and DXT5 (BC1 to BC3) files can be "
        "imported");
  }
  if (code == "DXT1") {
    texture.format = BlockFormat::Dxt1;
  } else if (code == "DXT3") {
    texture.format = BlockFormat::Dxt3;
  } else if (code == "DXT5") {
    texture.format = BlockFormat::Dxt5;
  } else if (code == "DX10") {
    return refused(
        "it has the DX10 extended header; save it as DXT1, DXT3 or DXT5 without that header");
  } else {
    std::string shown;
    for (const char c : code) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    return refused("its data is \"" + shown + "\"; only DXT1, DXT3 and DXT5 can be imported");
  }

  const std::uint32_t width = load(file, kWidth), height = load(file, kHeight);
  if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide)
    return refused("it is " + pixels(width, height) + " pixels; a texture is 4 to 32767 a side");
  if (width % 4 || height % 4) {
    return refused("it is " + pixels(width, height) +
                   " pixels, not a whole number of 4 \xC3\x97 4 blocks");
  }
  std::uint32_t count = 1;
  if (flags & kDdsdMipMapCount) count = std::max<std::uint32_t>(1, load(file, kMipCount));
  std::uint32_t most = 1;
  for (std::uint32_t side = std::max(width, height); side > 1; side /= 2) ++most;
  if (count > most) {
    return refused("it declares " + std::to_string(count) + " mip levels; a " +
                   pixels(width, height) + " texture has at most " + std::to_string(most));
  }

  std::size_t at = kDdsHeaderSize;
  std::uint32_t w = width, h = height;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t size = imageBytes(texture.format, w, h);
    if (file.size() - at < size) {
      return refused("it ends inside mip level " + std::to_string(i + 1) + " of " +
                     std::to_string(count) + " (" + pixels(w, h) + ")");
    }
    texture.levels.push_back(
        DdsLevel{w, h, std::vector<std::uint8_t>(file.begin() + at, file.begin() + at + size)});
    at += size;
    w = std::max<std::uint32_t>(1, w / 2);
    h = std::max<std::uint32_t>(1, h / 2);
  }
  return texture;
}

}  // namespace vantrel::texture
