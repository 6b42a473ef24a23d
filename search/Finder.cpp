#include "search/Finder.h"

#include "platform/core/Utf8Text.h"
#include "platform/editor/Editor.h"

namespace vantrel::search {

using platform::Editor;

// With nothing selected the search starts at the caret, so an occurrence
// right there (index 0 included) is found. With a selection it starts one
// character past the selection's start (a whole character, however many
// bytes it takes): pressing Find again after a match moves on to the next
// occurrence, overlapping ones included ('aa' in 'aaaa' is found at 0, 1
// and 2).
long Finder::find(std::string_view findText, bool wholeWord) {
  const int options = wholeWord ? Editor::rtfWholeWord : 0;
  if (findText.empty()) return -1;
  long start = editor_.selStart();
  if (editor_.selLength() > 0)
    start = static_cast<long>(
        platform::nextCharacterBoundary(editor_.view(), static_cast<std::size_t>(start)));
  state_.lngStart = static_cast<std::int32_t>(start);
  // A miss leaves the editor as it was: no message, no wrap-around.
  const long found = editor_.find(findText, start, options);
  state_.lngFound = static_cast<std::int32_t>(found);
  return found;
}

// The selection (or nothing, at the caret) becomes the replacement, whatever
// is selected; an empty replacement deletes the selection.
void Finder::replace(std::string_view replacement) { editor_.setSelText(replacement); }

// Every occurrence, left to right, without overlaps and without looking
// again at inserted text, as one undo step. The search state then records the
// search that ended the run: it started after the last replacement (at 0
// when nothing was replaced) and found nothing.
void Finder::replaceAll(std::string_view findText, std::string_view replacement) {
  if (findText.empty()) return;
  const long replaced = editor_.replaceAll(findText, replacement);
  state_.lngStart = static_cast<std::int32_t>(replaced > 0 ? editor_.selStart() : 0);
  state_.lngFound = -1;
}

}  // namespace vantrel::search
