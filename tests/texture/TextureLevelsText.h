#pragma once
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "texture/TextureFormat.h"

// Texture texts of several mip levels, laid out as serz writes them, and
// .dds files to import into them.
namespace vantrel::texture::testing {

struct LevelShape {
  std::uint32_t width, height;
};

// Deterministic data for a level: byte k is (seed + 7k) mod 256.
inline std::vector<std::uint8_t> levelBytes(BlockFormat format, LevelShape shape, int seed) {
  std::vector<std::uint8_t> bytes(imageBytes(format, shape.width, shape.height));
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<std::uint8_t>(seed + 7 * k);
  return bytes;
}

inline std::string serzHex(std::span<const std::uint8_t> bytes) {
  std::string hex;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) {
      if (i) hex += "\r\n";
    } else if (i % 8 == 0) {
      hex += ' ';
    }
    hex.append({"0123456789ABCDEF"[bytes[i] >> 4], "0123456789ABCDEF"[bytes[i] & 15]});
  }
  return hex;
}

// One cHcImageDx element of the given id and data.
inline std::string levelXml(const std::string& formatName, LevelShape shape, int id,
                            std::span<const std::uint8_t> data) {
  return "\t\t\t\t\t\t<cHcImageDx d:id=\"" + std::to_string(id) +
         "\">\r\n"
         "\t\t\t\t\t\t\t<Format d:type=\"cDeltaString\">" +
         formatName +
         "</Format>\r\n"
         "\t\t\t\t\t\t\t<IsSwizzled d:type=\"bool\">0</IsSwizzled>\r\n"
         "\t\t\t\t\t\t\t<Width d:type=\"sUInt16\">" +
         std::to_string(shape.width) +
         "</Width>\r\n"
         "\t\t\t\t\t\t\t<Height d:type=\"sUInt16\">" +
         std::to_string(shape.height) +
         "</Height>\r\n"
         "\t\t\t\t\t\t\t<d:blob d:size=\"" +
         std::to_string(data.size()) + "\">" + serzHex(data) +
         "</d:blob>\r\n"
         "\t\t\t\t\t\t</cHcImageDx>\r\n";
}

// A whole texture text around the given level elements (ids 1 to 3 are the
// group, the texture and its data).
inline std::string textureAround(LevelShape size, const std::string& levels) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<cHcTextureGroup xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
         "d:id=\"1\">\r\n"
         "\t<Texture>\r\n\t\t<cHcTexture d:id=\"2\">\r\n"
         "\t\t\t<Width d:type=\"sUInt32\">" +
         std::to_string(size.width) + "</Width>\r\n\t\t\t<Height d:type=\"sUInt32\">" +
         std::to_string(size.height) +
         "</Height>\r\n"
         "\t\t\t<Name d:type=\"cDeltaString\">test</Name>\r\n"
         "\t\t\t<Data>\r\n\t\t\t\t<cHcTextureData d:id=\"3\">\r\n\t\t\t\t\t<Mip>\r\n" +
         levels +
         "\t\t\t\t\t</Mip>\r\n\t\t\t\t\t<TextureBlob/>\r\n"
         "\t\t\t\t</cHcTextureData>\r\n\t\t\t</Data>\r\n\t\t</cHcTexture>\r\n\t</Texture>\r\n</"
         "cHcTextureGroup>\r\n";
}

// A texture of the given levels, largest first, data seeded by level number.
inline std::string levelsXml(const std::string& formatName, BlockFormat format,
                             const std::vector<LevelShape>& shapes, int seed = 0) {
  std::string levels;
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    levels += levelXml(formatName, shapes[k], static_cast<int>(100 + k),
                       levelBytes(format, shapes[k], seed + static_cast<int>(k)));
  }
  return textureAround(shapes.front(), levels);
}

// A .dds file header (128 bytes) for the given fields, followed by `data`.
struct DdsFields {
  std::string fourCc = "DXT1";
  std::uint32_t width = 8, height = 8, mipCount = 0;
  std::uint32_t flags = 0x00081007, pixelFlags = 0x4, caps2 = 0, depth = 0;
};

inline std::vector<std::uint8_t> ddsFile(const DdsFields& fields,
                                         const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> bytes(128 + data.size(), 0);
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
  };
  bytes[0] = 'D', bytes[1] = 'D', bytes[2] = 'S', bytes[3] = ' ';
  put(4, 124);
  put(8, fields.flags | (fields.mipCount ? 0x20000u : 0u));
  put(12, fields.height);
  put(16, fields.width);
  put(24, fields.depth);
  put(28, fields.mipCount);
  put(76, 32);
  put(80, fields.pixelFlags);
  for (std::size_t k = 0; k < 4 && k < fields.fourCc.size(); ++k)
    bytes[84 + k] = static_cast<std::uint8_t>(fields.fourCc[k]);
  put(112, fields.caps2);
  std::copy(data.begin(), data.end(), bytes.begin() + 128);
  return bytes;
}

}  // namespace vantrel::texture::testing
