#pragma once
#include <string>

// The characters the editor counts as parts of a word, for whole-word
// search and word-wise caret movement: the ASCII letters A-Z and a-z, the
// digits 0-9, the underscore, and every byte from 0x80 to 0xFF (the
// accented letters of Windows-1252 live there, so 'café' stays one word).
// Every other byte (spaces, line ends, punctuation such as < > " = . - :)
// separates words.
namespace vantrel::platform {

bool isEditorWordCharacter(unsigned char byte);

// The same set as one string, NUL-free, for the editor control.
const std::string& editorWordCharacters();

}  // namespace vantrel::platform
