#pragma once
// UTF-8 checks. String lengths in the binary count characters (code points),
// so the reader has to walk the bytes to find where a string ends.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace serz::utf8 {

enum class Scan { Ok, Truncated, Invalid };

struct ScanResult {
  Scan status;
  std::size_t bytes;  // bytes taken by the characters (Ok), or up to the fault
};

// Finds the byte length of the first `chars` characters of `text`.
ScanResult bytesForChars(std::string_view text, std::uint32_t chars);

// Number of characters, or -1 when the text is not valid UTF-8.
std::int64_t countChars(std::string_view text);

// Byte position of the first invalid sequence, or npos.
std::size_t firstInvalid(std::string_view text);

}  // namespace serz::utf8
