#include "archive/MemberPicker.h"

#include <algorithm>
#include <functional>

#include "archive/SizeText.h"
#include "platform/core/Utf8Text.h"
#include "platform/editor/CaseFolding.h"

namespace vantrel::archive {

std::string foldedText(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {  // the usual case, without decoding
      folded += byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : text[at];
      ++at;
      continue;
    }
    const platform::Utf8Character c = platform::decodeUtf8(text, at);
    if (c.valid)
      platform::appendUtf8(folded, platform::foldCase(c.codePoint));
    else
      folded += text[at];
    at += c.length;
  }
  return folded;
}

MemberPicker::MemberPicker(std::vector<Member> members) : members_(std::move(members)) {
  foldedPaths_.reserve(members_.size());
  for (const Member& m : members_) foldedPaths_.push_back(foldedText(m.path));
  setFilter({});
}

void MemberPicker::setFilter(std::string_view text) {
  const std::string folded = foldedText(text);
  const bool narrows = !filter_.empty() && folded.find(foldedText(filter_)) != std::string::npos;
  filter_ = std::string(text);
  // Typing one more character only narrows what is shown: search the rows
  // still visible instead of all members.
  std::vector<std::size_t> candidates;
  if (!narrows) {
    candidates.resize(members_.size());
    for (std::size_t i = 0; i < members_.size(); ++i) candidates[i] = i;
  } else {
    candidates = std::move(visible_);
  }
  visible_.clear();
  const std::boyer_moore_horspool_searcher searcher(folded.begin(), folded.end());
  for (std::size_t i : candidates) {
    const std::string& path = foldedPaths_[i];
    if (folded.empty() || std::search(path.begin(), path.end(), searcher) != path.end())
      visible_.push_back(i);
  }
  if (selected_ && std::binary_search(visible_.begin(), visible_.end(), *selected_)) return;
  selected_ = visible_.empty() ? std::nullopt : std::optional<std::size_t>(visible_.front());
}

PickerRow MemberPicker::row(std::size_t row) const {
  const Member& m = memberAt(row);
  return {m.path, sizeText(m.size)};
}

const Member& MemberPicker::memberAt(std::size_t row) const { return members_[visible_.at(row)]; }

std::optional<std::size_t> MemberPicker::selectedRow() const {
  if (!selected_) return std::nullopt;
  const auto at = std::lower_bound(visible_.begin(), visible_.end(), *selected_);
  return static_cast<std::size_t>(at - visible_.begin());
}

const Member* MemberPicker::selectedMember() const {
  return selected_ ? &members_[*selected_] : nullptr;
}

void MemberPicker::select(std::size_t row) {
  if (visible_.empty()) return;
  selected_ = visible_[std::min(row, visible_.size() - 1)];
}

void MemberPicker::move(Move move, std::size_t pageRows) {
  const std::optional<std::size_t> current = selectedRow();
  if (!current) return;
  const std::size_t last = visible_.size() - 1;
  const std::size_t page = std::max<std::size_t>(pageRows, 1);
  std::size_t to = *current;
  switch (move) {
    case Move::Up:
      to = to == 0 ? 0 : to - 1;
      break;
    case Move::Down:
      to = std::min(to + 1, last);
      break;
    case Move::PageUp:
      to = to < page ? 0 : to - page;
      break;
    case Move::PageDown:
      to = std::min(to + page, last);
      break;
    case Move::Home:
      to = 0;
      break;
    case Move::End:
      to = last;
      break;
  }
  select(to);
}

}  // namespace vantrel::archive
