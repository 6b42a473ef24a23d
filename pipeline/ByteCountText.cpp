#include "pipeline/ByteCountText.h"

#include <cstdio>

namespace vantrel::pipeline {

std::string byteCountText(std::uint64_t bytes) {
  std::string digits = std::to_string(bytes);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  std::string text = digits + (bytes == 1 ? " byte" : " bytes");
  constexpr double kMega = 1e6, kGiga = 1e9;
  char rounded[32] = {};
  if (bytes >= 1'000'000'000) {
    std::snprintf(rounded, sizeof rounded, " (%.1f GB)", static_cast<double>(bytes) / kGiga);
  } else if (bytes >= 1'000'000) {
    std::snprintf(rounded, sizeof rounded, " (%.1f MB)", static_cast<double>(bytes) / kMega);
  }
  return text + rounded;
}

}  // namespace vantrel::pipeline
