#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::texture {

// Replace `length` bytes at `offset` with `replacement`.
struct TextEdit {
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string replacement;
};

// The text with every edit made; the edits may come in any order but must
// not overlap.
std::string applyEdits(std::string_view text, std::vector<TextEdit> edits);

}  // namespace vantrel::texture
