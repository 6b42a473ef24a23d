#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Valve's KeyValues text, as Steam writes libraryfolders.vdf and the
// appmanifest_*.acf files: a key followed by either a text or a { } block of
// further entries. Keys and texts are quoted ("a b", with \" and \\ escapes)
// or plain tokens; // starts a comment that runs to the end of the line.
namespace vantrel::shell {

struct KeyValues {
  std::string key;
  std::string text;                // an entry with a text
  std::vector<KeyValues> entries;  // an entry with a block
  bool isBlock = false;

  // The first entry named `name`, compared without case as Steam does;
  // nullptr when there is none.
  const KeyValues* find(std::string_view name) const;
  // The text of the first entry named `name`; "" when it is missing or a
  // block.
  std::string textOf(std::string_view name) const;
};

// The entries of the whole text as one block with an empty key. nullopt when
// the text is broken: an unterminated quote, braces that do not pair up, a
// key without a value, or more entries or deeper blocks than any Steam file
// has.
std::optional<KeyValues> parseKeyValues(std::string_view text);

// A file parsed as above; nullopt also when it cannot be read or is larger
// than a Steam list ever is (a few megabytes).
std::optional<KeyValues> readKeyValuesFile(const std::filesystem::path& file);

}  // namespace vantrel::shell
