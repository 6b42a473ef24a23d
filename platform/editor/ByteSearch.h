#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Searching the editor's UTF-8 text, free of any widget. The text may hold
// bytes that are not UTF-8; each such byte is a character of its own that
// matches only itself (see platform/core/Utf8Text.h). A match starts and
// ends between characters, never inside one, and is exactly as long as the
// needle. Case-insensitive matching compares characters by their folded
// form (CaseFolding.h): A-Z with a-z, and beyond ASCII every case pair whose
// two forms have UTF-8 encodings of the same length. A whole-word match may
// not continue a word: when its first character is a word character (see
// WordCharacters.h) the character before it must not be one, and likewise
// at its end.
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
  // A quick test of one byte of a candidate: (byte | mask) == target holds
  // for every byte a match can have there (and for a few more, which the
  // full comparison then rejects).
  struct ByteFilter {
    unsigned char mask = 0;
    unsigned char target = 0;
  };
  ByteFilter filterFor(std::size_t offset) const;
  // First candidate start in [from, last] whose first and last bytes pass
  // the filters (16 positions at a time where possible).
  std::size_t nextCandidate(const unsigned char* text, std::size_t from, std::size_t last) const;
  bool matchesAt(std::string_view text, std::size_t at) const;
  bool matchesFoldedAt(std::string_view text, std::size_t at) const;
  bool isWholeWordAt(std::string_view text, std::size_t at) const;

  std::string_view needle_;
  ByteSearchOptions options_;
  // Case-insensitive only: the needle with every character in its folded
  // form (same length); at each byte, the length of the character that
  // starts there (1 for ASCII and for a byte that is not UTF-8, 0 inside a
  // character) and the folded character.
  std::string folded_;
  std::vector<std::uint8_t> characterLength_;
  std::vector<char32_t> foldedCharacter_;
  ByteFilter first_;
  ByteFilter last_;
};

}  // namespace vantrel::platform
