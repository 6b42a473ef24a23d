#include "platform/editor/WordCharacters.h"

#include <algorithm>

#include "platform/editor/UnicodeTables.h"

namespace vantrel::platform {

namespace {

bool isAsciiWordCharacter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isWordBeyondAscii(char32_t codePoint) {
  const auto ranges = wordRangesBeyondAscii();
  const auto after =
      std::upper_bound(ranges.begin(), ranges.end(), codePoint,
                       [](char32_t c, const CodePointRange& range) { return c < range.first; });
  return after != ranges.begin() && codePoint <= (after - 1)->last;
}

}  // namespace

bool isWordCharacter(const Utf8Character& character) {
  if (!character.valid) return true;
  if (character.codePoint < 0x80) return isAsciiWordCharacter(character.codePoint);
  return isWordBeyondAscii(character.codePoint);
}

bool isWordCharacterAt(std::string_view text, std::size_t at) {
  return isWordCharacter(decodeUtf8(text, characterStart(text, at)));
}

bool isWordCharacterBefore(std::string_view text, std::size_t at) {
  return isWordCharacter(decodeUtf8(text, characterStart(text, at - 1)));
}

const std::string& editorWordCharacters() {
  static const std::string characters = [] {
    std::string set;
    for (char32_t c = 1; c < 0x80; ++c)
      if (isAsciiWordCharacter(c)) set.push_back(static_cast<char>(c));
    return set;
  }();
  return characters;
}

}  // namespace vantrel::platform
