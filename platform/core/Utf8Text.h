#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Walking UTF-8 text that may hold bytes that are not UTF-8 (an ANSI file
// opened for reading, a stray byte). A character is either one valid UTF-8
// sequence (shortest form, no surrogates, at most U+10FFFF) or one byte
// that is not part of such a sequence; the editor shows the latter as a
// hex blob and counts it as a character of its own. Positions are bytes.
namespace vantrel::platform {

struct Utf8Character {
  char32_t codePoint = 0;  // for a byte that is not UTF-8: the byte's value
  std::size_t length = 1;  // bytes taken, 1 to 4
  bool valid = true;       // false for a byte that is not UTF-8
};

// The character that starts at text[at] (at < text.size()). A sequence cut
// short by the end of the text is not valid: its first byte stands alone.
Utf8Character decodeUtf8(std::string_view text, std::size_t at);

// True when no character straddles at: at is 0, the end, or the start of a
// character. Positions past the end count as boundaries.
bool isCharacterBoundary(std::string_view text, std::size_t at);

// Start of the character that holds the byte at (at < text.size()).
std::size_t characterStart(std::string_view text, std::size_t at);

// The boundary after the character that holds the byte at; text.size()
// when at is at or past the end.
std::size_t nextCharacterBoundary(std::string_view text, std::size_t at);

// Appends the UTF-8 form of codePoint (at most U+10FFFF; surrogates are
// written as their three-byte form).
void appendUtf8(std::string& out, char32_t codePoint);

// Where the last `count` characters of text begin; nullopt when it has
// fewer characters.
std::optional<std::size_t> startOfLastCharacters(std::string_view text, std::size_t count);

}  // namespace vantrel::platform
