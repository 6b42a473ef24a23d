#include "findfiles/XmlMatches.h"

#include <algorithm>

#include "platform/core/Utf8Text.h"

namespace vantrel::findfiles::detail {

namespace {

// How much text one ByteSearch call covers before stop is looked at.
constexpr std::size_t kPiece = std::size_t{4} << 20;

// Follows the matches through the text once: the line and its start, and
// the column of the last match on that line, move forward only.
class Places {
 public:
  explicit Places(std::string_view text) : text_(text) {}

  void moveTo(std::size_t at, Match& match) {
    for (std::size_t i = scanned_; i < at; ++i) {
      const char c = text_[i];
      if (c == '\n' || (c == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n'))) {
        ++line_;
        lineStart_ = i + 1;
        columnAt_ = lineStart_;
        column_ = 1;
      }
    }
    scanned_ = std::max(scanned_, at);
    while (columnAt_ < at) {
      columnAt_ += platform::decodeUtf8(text_, columnAt_).length;
      ++column_;
    }
    match.line = line_;
    match.column = column_;
  }

  std::size_t lineStart() const { return lineStart_; }

  std::size_t lineEnd(std::size_t from) const {
    const std::size_t end = text_.find_first_of("\r\n", from);
    return end == std::string_view::npos ? text_.size() : end;
  }

 private:
  std::string_view text_;
  std::size_t scanned_ = 0;
  long line_ = 1;
  std::size_t lineStart_ = 0;
  std::size_t columnAt_ = 0;
  long column_ = 1;
};

void setLineText(std::string_view text, std::size_t lineStart, std::size_t lineEnd, std::size_t at,
                 std::size_t length, Match& match) {
  std::size_t from = lineStart, to = lineEnd;
  if (to - from > kLineTextLimit) {
    const std::size_t around = kLineTextLimit / 2;
    from = at - std::min(at - lineStart, around);
    to = std::min(lineEnd, at + length + around);
    // Cut between characters, never inside one.
    while (from > lineStart && !platform::isCharacterBoundary(text, from)) --from;
    while (to < lineEnd && !platform::isCharacterBoundary(text, to)) ++to;
  }
  match.lineText.assign(text.substr(from, to - from));
  match.lineMatchStart = at - from;
  // A needle with a line break ends the match at the line's end.
  match.lineMatchLength = std::min(length, match.lineText.size() - match.lineMatchStart);
}

}  // namespace

bool findOffsets(std::string_view xml, const platform::ByteSearch& search, std::size_t length,
                 const std::atomic<bool>& stop, const std::function<void(std::size_t)>& found) {
  if (length == 0) return true;
  std::size_t from = 0;
  while (from < xml.size()) {
    if (stop.load(std::memory_order_relaxed)) return false;
    // A piece: matches that start before its end. The view reaches a
    // character past the longest match, for the whole-word test.
    const std::size_t pieceEnd = std::min(xml.size(), from + kPiece);
    const std::string_view view = xml.substr(0, std::min(xml.size(), pieceEnd + length + 4));
    std::size_t at = search.findIn(view, from);
    while (at != platform::ByteSearch::npos && at < pieceEnd) {
      found(at);
      from = at + length;
      at = search.findIn(view, from);
    }
    from = std::max(from, pieceEnd);
  }
  return true;
}

bool findMatches(std::string_view xml, const platform::ByteSearch& search, std::size_t length,
                 const std::atomic<bool>& stop, const std::function<void(Match&&)>& found) {
  Places places(xml);
  return findOffsets(xml, search, length, stop, [&](std::size_t at) {
    Match match;
    places.moveTo(at, match);
    match.offset = at;
    match.length = length;
    setLineText(xml, places.lineStart(), places.lineEnd(at), at, length, match);
    found(std::move(match));
  });
}

}  // namespace vantrel::findfiles::detail
