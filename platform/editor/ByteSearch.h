#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

// Searching the editor's 8-bit text, free of any widget. Case-insensitive
// matching folds the ASCII letters A-Z onto a-z; every other byte (0x80-0xFF
// included) matches only itself. A whole-word match may not continue a word:
// when its first byte is a word character (see WordCharacters.h) the byte
// before it must not be one, and likewise at its end.
namespace vantrel::platform {

struct ByteSearchOptions {
  bool matchCase = false;
  bool wholeWord = false;
};

class ByteSearch {
 public:
  ByteSearch(std::string_view needle, ByteSearchOptions options);

  // Index of the first match in text that starts at or after `from`, or
  // npos. The match must lie wholly inside text; the bytes before `from`
  // only serve the whole-word test.
  std::size_t findIn(std::string_view text, std::size_t from) const;

  // Start indexes of the non-overlapping matches, left to right.
  std::vector<std::size_t> allIn(std::string_view text) const;

  static constexpr std::size_t npos = std::string_view::npos;

 private:
  // First candidate start in [from, last] whose first and last bytes fit
  // the needle's (a quick filter, 16 positions at a time where possible).
  std::size_t nextCandidate(const unsigned char* text, std::size_t from, std::size_t last) const;
  bool matchesAt(std::string_view text, std::size_t at) const;
  bool isWholeWordAt(std::string_view text, std::size_t at) const;
  unsigned char fold(unsigned char byte) const { return fold_[byte]; }

  std::string_view needle_;
  ByteSearchOptions options_;
  unsigned char fold_[256];
  // The filter compares bytes with 0x20 set when case is ignored: that maps
  // both cases of a letter together (and lets a few other bytes through,
  // which the full comparison then rejects).
  unsigned char filterMask_ = 0;
  unsigned char firstFiltered_ = 0;
  unsigned char lastFiltered_ = 0;
};

}  // namespace vantrel::platform
