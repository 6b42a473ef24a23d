#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Texture XML as our converter writes it, for the texture tests.
namespace vantrel::texture::testing {

// Upper-case hex in 16-digit words, four words to a line, CR LF line ends.
inline std::string blobHex(const std::vector<std::uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0 && i % 32 == 0) {
      hex += "\r\n";
    } else if (i > 0 && i % 8 == 0) {
      hex += ' ';
    }
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 15];
  }
  return hex;
}

inline std::string textureXml(const std::string& width, const std::string& height, const std::string& size,
                              const std::string& hexData, bool explicitAlpha = false) {
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet>\r\n\t<cTextureResource>\r\n";
  text += "\t\t<Format d:type=\"cDeltaString\">";
  text += explicitAlpha ? "FORMAT_COMPRESSED_EXPL_ALPHA" : "FORMAT_COMPRESSED";
  text += "</Format>\r\n";
  text += "\t\t<Width d:type=\"sUInt16\">" + width + "</Width>\r\n";
  text += "\t\t<Height d:type=\"sUInt16\">" + height + "</Height>\r\n";
  text += "\t\t<Data>\r\n<d:blob d:size=\"" + size + "\">\r\n" + hexData + "\r\n</d:blob>\r\n\t\t</Data>\r\n";
  text += "\t</cTextureResource>\r\n</cRecordSet>\r\n";
  return text;
}

}  // namespace vantrel::texture::testing
