#include "platform/editor/ByteSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

ByteSearch::ByteSearch(std::string_view needle, ByteSearchOptions options)
    : needle_(needle), options_(options) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool upper = byte >= 'A' && byte <= 'Z';
    fold_[byte] = static_cast<unsigned char>(upper && !options.matchCase ? byte + ('a' - 'A') : byte);
  }
  if (needle_.empty()) return;
  filterMask_ = options.matchCase ? 0 : 0x20;
  firstFiltered_ = static_cast<unsigned char>(static_cast<unsigned char>(needle_.front()) | filterMask_);
  lastFiltered_ = static_cast<unsigned char>(static_cast<unsigned char>(needle_.back()) | filterMask_);
}

std::size_t ByteSearch::nextCandidate(const unsigned char* text, std::size_t from, std::size_t last) const {
  const std::size_t tail = needle_.size() - 1;
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi8(static_cast<char>(filterMask_));
  const __m128i first = _mm_set1_epi8(static_cast<char>(firstFiltered_));
  const __m128i lastByte = _mm_set1_epi8(static_cast<char>(lastFiltered_));
  for (; at + 15 <= last; at += 16) {
    const __m128i heads = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at)), mask);
    const __m128i ends = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + tail)), mask);
    const int hits = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, first), _mm_cmpeq_epi8(ends, lastByte)));
    if (hits != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
#endif
  for (; at <= last; ++at)
    if ((text[at] | filterMask_) == firstFiltered_ && (text[at + tail] | filterMask_) == lastFiltered_) return at;
  return npos;
}

bool ByteSearch::matchesAt(std::string_view text, std::size_t at) const {
  for (std::size_t i = 0; i < needle_.size(); ++i)
    if (fold(static_cast<unsigned char>(text[at + i])) != fold(static_cast<unsigned char>(needle_[i])))
      return false;
  return true;
}

bool ByteSearch::isWholeWordAt(std::string_view text, std::size_t at) const {
  const auto word = [&](std::size_t index) { return isEditorWordCharacter(static_cast<unsigned char>(text[index])); };
  const std::size_t end = at + needle_.size();
  if (at > 0 && word(at) && word(at - 1)) return false;
  if (end < text.size() && word(end - 1) && word(end)) return false;
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
  for (std::size_t at = findIn(text, 0); at != npos; at = findIn(text, at + needle_.size())) found.push_back(at);
  return found;
}

}  // namespace vantrel::platform
