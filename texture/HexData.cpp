#include "texture/HexData.h"

namespace vantrel::texture {
namespace {

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool isGap(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeHex(std::string_view hex, std::size_t* badAt) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  int high = -1;
  std::size_t highAt = 0;
  for (std::size_t i = 0; i < hex.size(); ++i) {
    const char c = hex[i];
    if (isGap(c)) continue;
    const int value = digitValue(c);
    if (value < 0) {
      if (badAt) *badAt = i;
      return std::nullopt;
    }
    if (high < 0) {
      high = value;
      highAt = i;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | value));
      high = -1;
    }
  }
  if (high >= 0) {
    if (badAt) *badAt = highAt;
    return std::nullopt;
  }
  return bytes;
}

void appendHex(std::string& out, std::span<const std::uint8_t> bytes, std::string_view lineEnd) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.reserve(out.size() + bytes.size() * 2 + bytes.size() / 8 +
              bytes.size() / 32 * lineEnd.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) {
      if (i) out += lineEnd;
    } else if (i % 8 == 0) {
      out += ' ';
    }
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
}

}  // namespace vantrel::texture
