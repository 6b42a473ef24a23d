#include "converter/Utf8.h"

namespace serz::utf8 {
namespace {

// Length of the well-formed sequence at p (1..4), 0 when malformed,
// -1 when it is cut short by the end. Rejects overlong forms, surrogates and
// code points above U+10FFFF.
int sequenceLength(const unsigned char* p, std::size_t avail) {
  const unsigned char c = p[0];
  if (c < 0x80) return 1;
  int len;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (int i = 1; i < len; ++i) {
    if (static_cast<std::size_t>(i) >= avail) return -1;
    const unsigned char b = p[i];
    if (i == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF)) return 0;
  }
  return len;
}

}  // namespace

ScanResult bytesForChars(std::string_view text, std::uint32_t chars) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t pos = 0;
  for (std::uint32_t i = 0; i < chars; ++i) {
    if (pos >= n) return {Scan::Truncated, pos};
    if (p[pos] < 0x80) {
      ++pos;
      continue;
    }
    const int len = sequenceLength(p + pos, n - pos);
    if (len < 0) return {Scan::Truncated, pos};
    if (len == 0) return {Scan::Invalid, pos};
    pos += static_cast<std::size_t>(len);
  }
  return {Scan::Ok, pos};
}

std::int64_t countChars(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::int64_t count = 0;
  for (std::size_t pos = 0; pos < n; ++count) {
    if (p[pos] < 0x80) {
      ++pos;
      continue;
    }
    const int len = sequenceLength(p + pos, n - pos);
    if (len <= 0) return -1;
    pos += static_cast<std::size_t>(len);
  }
  return count;
}

std::size_t firstInvalid(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t pos = 0; pos < n;) {
    if (p[pos] < 0x80) {
      ++pos;
      continue;
    }
    const int len = sequenceLength(p + pos, n - pos);
    if (len <= 0) return pos;
    pos += static_cast<std::size_t>(len);
  }
  return std::string_view::npos;
}

}  // namespace serz::utf8
