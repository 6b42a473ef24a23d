#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Utf8Text.h"

// The characters the editor counts as parts of a word, for whole-word
// search: the ASCII letters A-Z and a-z, the digits 0-9 and the underscore;
// beyond ASCII the letters, numbers and combining marks of Unicode (é, ß, ø,
// ą, Greek, Cyrillic, CJK...); and every byte that is not UTF-8 (in an ANSI
// file those are its accented letters, so 'caf\xe9' stays one word).
// Everything else separates words: spaces and line ends, ASCII punctuation
// such as < > " = . - :, and beyond ASCII the spaces, punctuation and
// symbols (no-break space, « » „ “ – — …, €, ©, °, ×, emoji). This is the
// rule the editor control itself applies to characters beyond ASCII when
// the caret moves word by word.
namespace vantrel::platform {

bool isWordCharacter(const Utf8Character& character);

// Whether the character that starts at `at` (at < text.size()), or the one
// that ends at `at` (at > 0), is a word character.
bool isWordCharacterAt(std::string_view text, std::size_t at);
bool isWordCharacterBefore(std::string_view text, std::size_t at);

// The ASCII word characters as one string, for the editor control (which
// classifies characters beyond ASCII by their Unicode category itself).
const std::string& editorWordCharacters();

}  // namespace vantrel::platform
