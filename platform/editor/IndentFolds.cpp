#include "platform/editor/IndentFolds.h"

#include <algorithm>
#include <cstring>

namespace vantrel::platform {

namespace {
constexpr int kDeepest = kFoldNumberMask - kFoldBase - 1;
}  // namespace

LineLayout lineLayout(std::string_view line) {
  LineLayout layout;
  std::size_t at = 0;
  for (; at < line.size(); ++at) {
    if (line[at] == ' ')
      ++layout.indent;
    else if (line[at] == '\t')
      layout.indent = (layout.indent / 4 + 1) * 4;
    else
      break;
  }
  layout.indent = std::min(layout.indent, kDeepest);
  layout.blank = at == line.size() || line[at] == '\r' || line[at] == '\n';
  layout.closes = line.substr(at).starts_with("</");
  return layout;
}

std::size_t IndentFolds::nextLine(std::size_t offset) const {
  if (offset >= text_.size()) return text_.size();
  const void* end = std::memchr(text_.data() + offset, '\n', text_.size() - offset);
  return end == nullptr
             ? text_.size()
             : static_cast<std::size_t>(static_cast<const char*>(end) - text_.data()) + 1;
}

LineLayout IndentFolds::layoutAt(std::size_t offset) const {
  if (offset >= text_.size()) return {};
  return lineLayout(text_.substr(offset, nextLine(offset) - offset));
}

int IndentFolds::levelAt(std::size_t offset, int above) const {
  const LineLayout line = layoutAt(offset);
  if (line.blank) {
    const int inside = foldNumber(above) + ((above & kFoldHeaderFlag) != 0 ? 1 : 0);
    return std::min(inside, kFoldNumberMask) | kFoldWhiteFlag;
  }
  if (line.closes) return kFoldBase + line.indent + 1;
  int level = kFoldBase + line.indent;
  std::size_t next = nextLine(offset);
  for (int blank = 0; next < text_.size() && blank <= kFoldLookAhead; ++blank) {
    const LineLayout below = layoutAt(next);
    if (!below.blank) {
      if (below.indent > line.indent) level |= kFoldHeaderFlag;
      break;
    }
    next = nextLine(next);
  }
  return level;
}

}  // namespace vantrel::platform
