#include "texture/TextEdits.h"

#include <algorithm>

namespace vantrel::texture {

std::string applyEdits(std::string_view text, std::vector<TextEdit> edits) {
  std::sort(edits.begin(), edits.end(),
            [](const TextEdit& a, const TextEdit& b) { return a.offset < b.offset; });
  std::size_t size = text.size();
  for (const TextEdit& edit : edits) size = size - edit.length + edit.replacement.size();
  std::string out;
  out.reserve(size);
  std::size_t at = 0;
  for (const TextEdit& edit : edits) {
    out.append(text.substr(at, edit.offset - at));
    out += edit.replacement;
    at = edit.offset + edit.length;
  }
  out.append(text.substr(at));
  return out;
}

}  // namespace vantrel::texture
