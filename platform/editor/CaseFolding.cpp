#include "platform/editor/CaseFolding.h"

#include <algorithm>
#include <array>

#include "platform/editor/UnicodeTables.h"

namespace vantrel::platform {

namespace {

bool inRange(const CaseFoldRange& range, char32_t codePoint) {
  return codePoint >= range.first && codePoint <= range.last &&
         (codePoint - range.first) % range.stride == 0;
}

char32_t foldBySearch(char32_t codePoint) {
  const auto ranges = caseFoldRanges();
  // The last range that starts at or before codePoint.
  const auto after =
      std::upper_bound(ranges.begin(), ranges.end(), codePoint,
                       [](char32_t c, const CaseFoldRange& range) { return c < range.first; });
  if (after == ranges.begin()) return codePoint;
  const CaseFoldRange& range = *(after - 1);
  return inRange(range, codePoint)
             ? static_cast<char32_t>(static_cast<std::int64_t>(codePoint) + range.delta)
             : codePoint;
}

// One- and two-byte characters (ASCII to Armenian) are the common case:
// looked up directly.
constexpr char32_t kTableSize = 0x800;

const std::array<char16_t, kTableSize>& shortFolds() {
  static const std::array<char16_t, kTableSize> table = [] {
    std::array<char16_t, kTableSize> folds{};
    for (char32_t c = 0; c < kTableSize; ++c)
      folds[c] = static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : foldBySearch(c));
    return folds;
  }();
  return table;
}

}  // namespace

char32_t foldCase(char32_t codePoint) {
  if (codePoint < kTableSize) return shortFolds()[codePoint];
  return foldBySearch(codePoint);
}

std::vector<char32_t> caseVariants(char32_t codePoint) {
  const char32_t folded = foldCase(codePoint);
  std::vector<char32_t> variants{folded};
  if (folded >= 'a' && folded <= 'z') variants.push_back(folded - ('a' - 'A'));
  for (const CaseFoldRange& range : caseFoldRanges()) {
    const auto source = static_cast<char32_t>(static_cast<std::int64_t>(folded) - range.delta);
    if (inRange(range, source)) variants.push_back(source);
  }
  return variants;
}

}  // namespace vantrel::platform
