#pragma once
#include <string>
#include <string_view>

// Whole-file reading and writing of 8-bit text: bytes as they are, no BOM,
// nothing converted.
namespace vantrel::pipeline {

// When the file exists, replaces text with its whole content and returns
// true; otherwise leaves text unchanged and returns false. An unreadable
// file also returns false and sets errorText.
bool readWholeFile(const std::string& path, std::string& text, std::string& errorText);

// Creates or replaces the file at path with exactly text. On failure returns
// false and sets errorText to the system's description of the failure.
bool writeWholeFile(const std::string& path, std::string_view text, std::string& errorText);

// The message WriteUniFile shows on failure:
// description + " occurred in WriteUniFile while processing" + CR LF + "file " + path.
std::string writeUniFileFailureText(std::string_view description, std::string_view path);

}  // namespace vantrel::pipeline
