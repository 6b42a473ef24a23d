#include "platform/editor/ByteSearch.h"

#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

ByteSearch::ByteSearch(std::string_view needle, ByteSearchOptions options)
    : needle_(needle), options_(options) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool upper = byte >= 'A' && byte <= 'Z';
    fold_[byte] = static_cast<unsigned char>(upper && !options.matchCase ? byte + ('a' - 'A') : byte);
  }
  const std::size_t length = needle_.size();
  for (std::size_t& shift : skip_) shift = length == 0 ? 1 : length;
  for (std::size_t i = 0; i + 1 < length; ++i) {
    const auto folded = fold(static_cast<unsigned char>(needle_[i]));
    skip_[folded] = length - 1 - i;
    // The text's byte is folded before the lookup, but an unfolded upper
    // case byte must shift the same way.
    if (!options.matchCase && folded >= 'a' && folded <= 'z') skip_[folded - ('a' - 'A')] = length - 1 - i;
  }
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
  const auto last = fold(static_cast<unsigned char>(needle_[length - 1]));
  for (std::size_t at = from; at + length <= text.size();) {
    const auto under = static_cast<unsigned char>(text[at + length - 1]);
    if (fold(under) == last && matchesAt(text, at) && (!options_.wholeWord || isWholeWordAt(text, at)))
      return at;
    at += skip_[under];
  }
  return npos;
}

std::vector<std::size_t> ByteSearch::allIn(std::string_view text) const {
  std::vector<std::size_t> found;
  for (std::size_t at = findIn(text, 0); at != npos; at = findIn(text, at + needle_.size())) found.push_back(at);
  return found;
}

}  // namespace vantrel::platform
