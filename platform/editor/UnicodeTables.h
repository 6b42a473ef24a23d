#pragma once
#include <cstdint>
#include <span>

// Tables of Unicode properties the search needs, made from the Unicode data
// by scripts/unicode-tables.py (see there for what goes in).
namespace vantrel::platform {

// The code points first, first + stride, ... up to last fold onto the code
// point delta away (their lower-case partner, with a UTF-8 form of the same
// length). Sorted by first; the ranges do not overlap.
struct CaseFoldRange {
  char32_t first;
  char32_t last;
  std::int32_t delta;
  std::uint8_t stride;  // 1: every code point, 2: every other one
};
std::span<const CaseFoldRange> caseFoldRanges();

// Code points beyond ASCII that belong to words: letters, numbers and
// combining marks. Sorted, not overlapping.
struct CodePointRange {
  char32_t first;
  char32_t last;
};
std::span<const CodePointRange> wordRangesBeyondAscii();

}  // namespace vantrel::platform
