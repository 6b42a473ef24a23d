#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <string_view>

#include "findfiles/FindInFiles.h"
#include "platform/editor/ByteSearch.h"

// The matches in one file's XML, with the place of each as the editor
// counts it (lines from 1 split at CR LF, CR or LF; columns in characters
// from 1, a byte that is not UTF-8 being one character, a tab one), and
// the line's text around it.
namespace vantrel::findfiles::detail {

// Lines longer than this are cut around the match for Match::lineText.
inline constexpr std::size_t kLineTextLimit = 400;

// Every non-overlapping match, left to right, handed to found (file is
// left empty for the caller). The search looks at stop every few megabytes
// and ends early when it is set; returns false then.
bool findMatches(std::string_view xml, const platform::ByteSearch& search, std::size_t length,
                 const std::atomic<bool>& stop, const std::function<void(Match&&)>& found);

// The match offsets alone (as ByteSearch::allIn), stopping early the same
// way.
bool findOffsets(std::string_view xml, const platform::ByteSearch& search, std::size_t length,
                 const std::atomic<bool>& stop, const std::function<void(std::size_t)>& found);

}  // namespace vantrel::findfiles::detail
