#pragma once
#include <cstdint>
#include <string_view>

namespace vantrel::platform {
class Editor;
}

// Find, Replace and Replace All over the editor's text. The texts are UTF-8,
// as the editor's.
namespace vantrel::search {

// Where the last search started and what it found.
struct SearchState {
  std::int32_t lngStart = 0;  // start index of the last search
  std::int32_t lngFound = 0;  // match index of the last search, or -1
};

class Finder {
 public:
  explicit Finder(platform::Editor& editor) : editor_(editor) {}

  const SearchState& state() const { return state_; }
  SearchState& state() { return state_; }

  // Find (Command4, Enter in the find box). Nothing happens for an empty
  // find text. The search starts at the caret when nothing is selected, one
  // character past the selection start otherwise; it is case-insensitive, whole words
  // only when wholeWord. A match becomes the selection; a miss changes
  // nothing in the editor (no message, no wrap-around). lngStart records
  // where the search started, lngFound the match index or -1. Returns the
  // match index, -1 when there is none.
  long find(std::string_view findText, bool wholeWord);
  // Replace (Command5, Enter in the replace box): the selection becomes
  // replacement (inserted at the caret when nothing is selected; an empty
  // replacement deletes the selection). The caret ends after it.
  void replace(std::string_view replacement);
  // Replace All (Command6): every occurrence, case-insensitively and never
  // whole-word, left to right without overlaps, as one undo step; the caret
  // ends after the last replacement. Nothing happens for an empty find
  // text. lngStart/lngFound record the search that ended the run: it began
  // after the last replacement (0 when there was none) and found nothing
  // (-1).
  void replaceAll(std::string_view findText, std::string_view replacement);

 private:
  platform::Editor& editor_;
  SearchState state_;
};

}  // namespace vantrel::search
