#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Texture XML as serz writes it: hex in 16-digit words, four to a line.
namespace vantrel::texture::testing {

inline std::string blobHex(const std::vector<std::uint8_t>& data) {
  std::string hex;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0) hex += i % 32 == 0 ? "\r\n" : i % 8 == 0 ? " " : "";
    hex += "0123456789ABCDEF"[data[i] >> 4];
    hex += "0123456789ABCDEF"[data[i] & 15];
  }
  return hex;
}

inline std::string textureXml(const std::string& width, const std::string& height, const std::string& size,
                              const std::string& hex, bool explicitAlpha = false) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">\r\n"
         "\t<cTextureResource>\r\n\t\t<Format d:type=\"cDeltaString\">" +
         std::string(explicitAlpha ? "FORMAT_COMPRESSED_EXPL_ALPHA" : "FORMAT_COMPRESSED") + "</Format>\r\n" +
         "\t\t<Width d:type=\"sUInt16\">" + width + "</Width>\r\n\t\t<Height d:type=\"sUInt16\">" + height +
         "</Height>\r\n\t\t<Data>\r\n<d:blob d:size=\"" + size + "\">\r\n" + hex +
         "</d:blob>\r\n\t\t</Data>\r\n\t</cTextureResource>\r\n</cRecordSet>\r\n";
}

// text in double quotes, for command lines. Appending (rather than
// "\"" + text) keeps GCC 12 from a false -Wrestrict warning.
inline std::string quoted(const std::string& text) {
  std::string out(1, '"');
  out.append(text).push_back('"');
  return out;
}

}  // namespace vantrel::texture::testing
