#include "platform/editor/ByteSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

#include "platform/core/Utf8Text.h"
#include "platform/editor/CaseFolding.h"
#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

namespace {

unsigned char asciiFold(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

ByteSearch::ByteSearch(std::string_view needle, ByteSearchOptions options)
    : needle_(needle), options_(options) {
  if (needle_.empty()) return;
  if (!options_.matchCase) {
    folded_.reserve(needle_.size());
    characterLength_.assign(needle_.size(), 0);
    foldedCharacter_.assign(needle_.size(), 0);
    for (std::size_t at = 0; at < needle_.size();) {
      const Utf8Character c = decodeUtf8(needle_, at);
      const char32_t folded = c.valid ? foldCase(c.codePoint) : c.codePoint;
      if (c.valid) {
        appendUtf8(folded_, folded);
      } else {
        folded_.push_back(needle_[at]);
      }
      characterLength_[at] = static_cast<std::uint8_t>(c.length);
      foldedCharacter_[at] = folded;
      at += c.length;
    }
  }
  first_ = filterFor(0);
  last_ = filterFor(needle_.size() - 1);
}

ByteSearch::ByteFilter ByteSearch::filterFor(std::size_t offset) const {
  const auto own = static_cast<unsigned char>(needle_[offset]);
  if (options_.matchCase) return {0, own};
  std::size_t start = offset;
  while (characterLength_[start] == 0) --start;
  const std::size_t length = characterLength_[start];
  // Every byte a case variant of the needle's character has at this offset.
  std::vector<unsigned char> bytes;
  if (length == 1) {
    bytes = {own, asciiFold(own)};
    if (own >= 'a' && own <= 'z') bytes.push_back(static_cast<unsigned char>(own - ('a' - 'A')));
  } else {
    for (const char32_t variant : caseVariants(foldedCharacter_[start])) {
      std::string encoded;
      appendUtf8(encoded, variant);
      if (encoded.size() == length)
        bytes.push_back(static_cast<unsigned char>(encoded[offset - start]));
    }
  }
  ByteFilter filter;
  for (const unsigned char byte : bytes)
    filter.mask |= static_cast<unsigned char>(byte ^ bytes.front());
  filter.target = static_cast<unsigned char>(bytes.front() | filter.mask);
  return filter;
}

std::size_t ByteSearch::nextCandidate(const unsigned char* text, std::size_t from,
                                      std::size_t last) const {
  const std::size_t tail = needle_.size() - 1;
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i firstMask = _mm_set1_epi8(static_cast<char>(first_.mask));
  const __m128i firstTarget = _mm_set1_epi8(static_cast<char>(first_.target));
  const __m128i lastMask = _mm_set1_epi8(static_cast<char>(last_.mask));
  const __m128i lastTarget = _mm_set1_epi8(static_cast<char>(last_.target));
  for (; at + 15 <= last; at += 16) {
    const __m128i heads =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at)), firstMask);
    const __m128i ends =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + tail)), lastMask);
    const int hits = _mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(heads, firstTarget), _mm_cmpeq_epi8(ends, lastTarget)));
    if (hits != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
#endif
  for (; at <= last; ++at)
    if ((text[at] | first_.mask) == first_.target && (text[at + tail] | last_.mask) == last_.target)
      return at;
  return npos;
}

bool ByteSearch::matchesFoldedAt(std::string_view text, std::size_t at) const {
  for (std::size_t i = 0; i < needle_.size();) {
    const std::size_t length = characterLength_[i];
    if (length == 1) {
      // ASCII, or a byte that is not UTF-8 and matches only itself.
      if (asciiFold(static_cast<unsigned char>(text[at + i])) !=
          static_cast<unsigned char>(folded_[i]))
        return false;
    } else if (std::memcmp(text.data() + at + i, folded_.data() + i, length) != 0) {
      const Utf8Character c = decodeUtf8(text, at + i);
      if (!c.valid || c.length != length || foldCase(c.codePoint) != foldedCharacter_[i])
        return false;
    }
    i += length;
  }
  return true;
}

bool ByteSearch::matchesAt(std::string_view text, std::size_t at) const {
  const bool same = options_.matchCase
                        ? std::memcmp(text.data() + at, needle_.data(), needle_.size()) == 0
                        : matchesFoldedAt(text, at);
  return same && isCharacterBoundary(text, at) && isCharacterBoundary(text, at + needle_.size());
}

bool ByteSearch::isWholeWordAt(std::string_view text, std::size_t at) const {
  const std::size_t end = at + needle_.size();
  if (at > 0 && isWordCharacterAt(text, at) && isWordCharacterBefore(text, at)) return false;
  if (end < text.size() && isWordCharacterBefore(text, end) && isWordCharacterAt(text, end))
    return false;
  return true;
}

std::size_t ByteSearch::findIn(std::string_view text, std::size_t from) const {
  const std::size_t length = needle_.size();
  if (length == 0 || from > text.size() || text.size() - from < length) return npos;
  const std::size_t last = text.size() - length;  // the last possible start
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t at = nextCandidate(bytes, from, last); at != npos;
       at = at < last ? nextCandidate(bytes, at + 1, last) : npos) {
    if (matchesAt(text, at) && (!options_.wholeWord || isWholeWordAt(text, at))) return at;
  }
  return npos;
}

std::vector<std::size_t> ByteSearch::allIn(std::string_view text) const {
  std::vector<std::size_t> found;
  for (std::size_t at = findIn(text, 0); at != npos; at = findIn(text, at + needle_.size()))
    found.push_back(at);
  return found;
}

}  // namespace vantrel::platform
