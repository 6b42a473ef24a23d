#pragma once
#include <windows.h>

#include <string>

namespace vantrel::archive {
class MemberPicker;
}  // namespace vantrel::archive

namespace vantrel::win32 {

// The controls' ids, for tests.
inline constexpr WORD kMemberFilterId = 100;
inline constexpr WORD kMemberListId = 101;

// A modal box titled title listing the members of a packed file: a filter
// box that narrows the list as the user types, and below it a list of Path
// and Size (a virtual list: it asks for the rows it draws, so thousands of
// members show at once), with Open (the default button) and Cancel.
// Up, Down, Page Up, Page Down, Home and End typed in the filter box move
// the list's selection (Shift with Home or End still selects text in the
// box). Enter, a double-click on a row or Open choose the selected member:
// true, with picker's selection on it. Escape or Cancel: false.
bool pickMemberBox(HWND owner, const std::string& title, archive::MemberPicker& picker);

}  // namespace vantrel::win32
