#pragma once
// Helpers for the converter tests: XML documents in the canonical layout,
// and binary files built byte by byte.

#include "converter/Codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace serz::testing {

// ../shared/fixtures, which may be absent.
inline std::filesystem::path fixtureDir(const char* folder) {
  return std::filesystem::path(VANTREL_SHARED_DIR) / "fixtures" / folder;
}

inline std::string withoutCR(std::string s) {
  std::erase(s, '\r');
  return s;
}

// The XML serz writes for a root element <Root> holding `children`, one line
// each (already indented by one tab here).
inline std::string canonicalXml(std::initializer_list<std::string_view> children) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<Root xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">\r\n";
  for (std::string_view c : children) {
    xml += '\t';
    xml += c;
    xml += "\r\n";
  }
  xml += "</Root>\r\n";
  return xml;
}

// Converts XML to binary, failing the test with the codec's message.
inline std::string toBin(std::string_view xml) {
  auto bin = xmlToBin(xml);
  EXPECT_TRUE(bin.ok()) << (bin.ok() ? "" : bin.error().position() + ": " + bin.error().reason);
  return bin.ok() ? bin.value() : std::string();
}

inline std::string toXml(std::string_view bin) {
  auto xml = binToXml(bin);
  EXPECT_TRUE(xml.ok()) << (xml.ok() ? "" : xml.error().position() + ": " + xml.error().reason);
  return xml.ok() ? xml.value() : std::string();
}

// Builds a binary file: header, then whatever the test appends.
class BinBuilder {
 public:
  BinBuilder() { bytes_ = std::string("SERZ\0\0\1\0", 8); }
  BinBuilder& u8(unsigned v) {
    bytes_ += static_cast<char>(v);
    return *this;
  }
  BinBuilder& u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
  BinBuilder& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  BinBuilder& raw(std::string_view s) {
    bytes_ += s;
    return *this;
  }
  // A new string with its length in characters.
  BinBuilder& str(std::string_view s, std::uint32_t chars) { return u16(0xFFFF).u32(chars).raw(s); }
  BinBuilder& str(std::string_view s) { return str(s, static_cast<std::uint32_t>(s.size())); }
  BinBuilder& ref(unsigned index) { return u16(index); }
  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

inline std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

}  // namespace serz::testing
