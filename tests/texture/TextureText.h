#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Texture XML of the shape serz writes, and small file helpers.
namespace vantrel::texture::testing {

inline std::string blobHex(const std::vector<std::uint8_t>& data) {
  std::string hex;
  for (const std::uint8_t byte : data) hex.append({"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]});
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

inline std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// text in double quotes, for command lines. Appending (rather than
// "\"" + text) keeps GCC 12 from a false -Wrestrict warning.
inline std::string quoted(const std::string& text) {
  std::string out(1, '"');
  out.append(text).push_back('"');
  return out;
}

}  // namespace vantrel::texture::testing
