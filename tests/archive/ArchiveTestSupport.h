#pragma once
#include <string>

#include "ZipBuilder.h"
#include "archive/Archive.h"
#include "tests/core/TestSupport.h"

namespace vantrel::test {

// A SERZ file's first bytes, followed by some filler that compresses.
inline std::string serzContent(const std::string& tag, std::size_t size = 200) {
  std::string content = std::string("SERZ\x00\x00\x01\x00", 8) + tag;
  while (content.size() < size) content += static_cast<char>('a' + content.size() % 7);
  return content;
}

// Bytes that deflate hardly at all, for members larger than one read.
inline std::string noise(std::size_t size) {
  std::string bytes = std::string("SERZ\x00\x00\x01\x00", 8);
  std::uint32_t x = 2463534242u;
  while (bytes.size() < size) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    bytes += static_cast<char>(x & 0xFF);
  }
  return bytes;
}

inline std::string shortName(const std::string& path) {
  return path.substr(path.find_last_of("/\\") + 1);
}

}  // namespace vantrel::test
