#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/Archive.h"

// What the "pick a file from the packed file" dialog shows and does, without
// a toolkit: the Qt and Win32 dialogs draw the visible rows and forward the
// filter box and the keys here.
namespace vantrel::archive {

struct PickerRow {
  std::string path;      // as members() gives it
  std::string sizeText;  // "12.3 KB"
};

class MemberPicker {
 public:
  enum class Move { Up, Down, PageUp, PageDown, Home, End };

  explicit MemberPicker(std::vector<Member> members);

  // Shows only the members whose path holds text, in any case (Unicode
  // simple case folding, as Find does). The selected member stays selected
  // while it is visible; otherwise the first visible row is.
  void setFilter(std::string_view text);
  const std::string& filter() const { return filter_; }

  std::size_t rowCount() const { return visible_.size(); }
  PickerRow row(std::size_t row) const;
  const Member& memberAt(std::size_t row) const;

  // The selected visible row; nullopt only when no row is visible.
  std::optional<std::size_t> selectedRow() const;
  const Member* selectedMember() const;
  void select(std::size_t row);  // clamped to the visible rows
  // pageRows: how many rows the list shows at once (Page Up / Page Down).
  void move(Move move, std::size_t pageRows = 1);

 private:
  std::vector<Member> members_;
  std::vector<std::string> foldedPaths_;  // members_' paths, case folded once
  std::vector<std::size_t> visible_;      // indices into members_
  std::optional<std::size_t> selected_;   // index into members_
  std::string filter_;
};

// The text in its folded form, character by character (bytes that are not
// UTF-8 stay as they are), so a case-insensitive search is a plain one.
std::string foldedText(std::string_view text);

}  // namespace vantrel::archive
