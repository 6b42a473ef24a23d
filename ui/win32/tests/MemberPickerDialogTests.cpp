// The member picker box driven as a user would, from a second thread while
// its modal loop runs: keys and characters posted to its controls, what it
// shows read through the controls' messages.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "archive/MemberPicker.h"
#include "platform/core/WideText.h"
#include "ui/win32/MemberPickerDialog.h"

namespace vantrel::testing {
namespace {

using archive::Member;
using archive::MemberPicker;

// 10,000 members: Scenery/Tree00000.bin ... with every hundredth an oak.
std::vector<Member> manyMembers() {
  std::vector<Member> members;
  for (std::uint64_t i = 0; i < 10000; ++i) {
    std::string number = std::to_string(i);
    number.insert(0, 5 - number.size(), '0');
    const std::string kind = i % 100 == 0 ? "Oak" : "Tree";
    members.push_back({"Scenery/" + kind + number + ".bin", 1000 + i * 37, i});
  }
  return members;
}

bool waitFor(const std::function<bool()>& done, int milliseconds = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(5);
  }
  return true;
}

// The box as the second thread sees it.
struct Box {
  HWND box = nullptr, filter = nullptr, list = nullptr;

  int rows() const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  int selected() const {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  std::string cell(int row, int column) const {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return platform::wideToUtf8(text);
  }
  bool rowVisible(int row) const {
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + page;
  }
  int pageRows() const { return static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)); }
  // A key pressed with the focus in control, as the keyboard queues it.
  static void press(HWND control, WORD key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
  }
  void type(const std::string& text) const {
    for (char c : text) PostMessageW(filter, WM_CHAR, static_cast<WPARAM>(c), 1);
  }
  // Presses key in the filter box and waits until the selection is row.
  bool moveTo(WORD key, int row) const {
    press(filter, key);
    return waitFor([&] { return selected() == row; });
  }
};

// Runs user on a thread of its own once the box titled title is up, while
// this thread runs the box; what pickMemberBox returned.
bool runBox(const std::string& title, MemberPicker& picker,
            const std::function<void(const Box&)>& user) {
  std::thread driver([&] {
    Box b;
    const std::wstring wide = platform::utf8ToWide(title);
    if (!waitFor([&] { return (b.box = FindWindowW(L"#32770", wide.c_str())) != nullptr; })) return;
    b.filter = GetDlgItem(b.box, win32::kMemberFilterId);
    b.list = GetDlgItem(b.box, win32::kMemberListId);
    user(b);
    // Whatever the case left open is closed, so the test ends.
    if (IsWindow(b.box)) PostMessageW(b.box, WM_COMMAND, IDCANCEL, 0);
  });
  const bool chosen = win32::pickMemberBox(nullptr, title, picker);
  driver.join();
  return chosen;
}

// All 10,000 rows are there at once with their paths and sizes; the keys
// typed in the filter box move the selection, one row or a page at a
// time and to either end, and keep it in view; Escape chooses nothing.
TEST(MemberPickerBox, TenThousandRowsAndTheListKeysInTheFilterBox) {
  MemberPicker picker(manyMembers());
  std::atomic<int> rows{0}, pageRows{0};
  std::atomic<bool> focusInFilter{false}, endShown{false}, moves{false}, stillOpen{false};
  std::string lastPath, lastSize, title;
  const bool chosen = runBox("Open from MainContent.ap", picker, [&](const Box& b) {
    // In front, as over the main window, the box has the focus in its
    // filter box.
    SetForegroundWindow(b.box);
    focusInFilter = waitFor([&] {
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      GetGUIThreadInfo(GetWindowThreadProcessId(b.box, nullptr), &gui);
      return gui.hwndFocus == b.filter;
    });
    wchar_t caption[100] = {};
    GetWindowTextW(b.box, caption, 100);
    title = platform::wideToUtf8(caption);
    rows = b.rows();
    pageRows = b.pageRows();
    endShown = b.moveTo(VK_END, 9999) && b.rowVisible(9999);
    lastPath = b.cell(9999, 0);
    lastSize = b.cell(9999, 1);
    const int page = b.pageRows();
    moves = b.moveTo(VK_HOME, 0) && b.rowVisible(0) && b.moveTo(VK_DOWN, 1) &&
            b.moveTo(VK_NEXT, 1 + page) && b.moveTo(VK_UP, page) && b.moveTo(VK_PRIOR, 0) &&
            b.moveTo(VK_UP, 0);
    Box::press(b.filter, VK_ESCAPE);
    stillOpen = !waitFor([&] { return !IsWindow(b.box); });
  });
  EXPECT_EQ(title, "Open from MainContent.ap");
  EXPECT_TRUE(focusInFilter);
  EXPECT_EQ(rows, 10000);
  EXPECT_GT(pageRows, 5);
  EXPECT_TRUE(endShown);
  EXPECT_EQ(lastPath, picker.row(9999).path);
  EXPECT_EQ(lastSize, picker.row(9999).sizeText);
  EXPECT_TRUE(moves);
  EXPECT_FALSE(stillOpen) << "Escape closes the box";
  EXPECT_FALSE(chosen);
}

// Typing narrows the list as the characters come, in any case; Down and
// Enter open the second match, which is then the picker's selected member.
TEST(MemberPickerBox, TypingNarrowsTheListAndEnterOpensTheSelectedRow) {
  MemberPicker picker(manyMembers());
  std::atomic<int> afterOak0{0}, afterOak01{0};
  std::atomic<bool> moved{false};
  std::string second;
  const bool chosen = runBox("Open from Trees.ap", picker, [&](const Box& b) {
    b.type("oAK0");
    waitFor([&] { return b.rows() == 100; });
    afterOak0 = b.rows();
    b.type("1");
    waitFor([&] { return b.rows() == 10; });
    afterOak01 = b.rows();
    second = b.cell(1, 0);
    moved = b.selected() == 0 && b.moveTo(VK_DOWN, 1);
    Box::press(b.filter, VK_RETURN);
    waitFor([&] { return !IsWindow(b.box); });
  });
  EXPECT_EQ(afterOak0, 100);
  EXPECT_EQ(afterOak01, 10);
  EXPECT_EQ(second, "Scenery/Oak01100.bin");
  EXPECT_TRUE(moved);
  EXPECT_TRUE(chosen);
  ASSERT_NE(picker.selectedMember(), nullptr);
  EXPECT_EQ(picker.selectedMember()->path, "Scenery/Oak01100.bin");
  EXPECT_EQ(picker.filter(), "oAK01");
}

// With no row left Open is disabled and Enter opens nothing; a
// double-click opens the row clicked; Cancel chooses nothing.
TEST(MemberPickerBox, DoubleClickOpensAndNothingOpensWithoutARow) {
  MemberPicker picker(manyMembers());
  std::atomic<bool> openDisabled{false}, openAfterEnter{false}, openEnabledAgain{false};
  const bool chosen = runBox("Open from Empty.ap", picker, [&](const Box& b) {
    b.type("nothing like it");
    waitFor([&] { return b.rows() == 0; });
    openDisabled = !IsWindowEnabled(GetDlgItem(b.box, IDOK));
    Box::press(b.filter, VK_RETURN);
    Sleep(200);
    openAfterEnter = IsWindow(b.box) != FALSE;
    SetWindowTextW(b.filter, L"Oak");  // EN_CHANGE, as typing gives
    waitFor([&] { return b.rows() == 100; });
    openEnabledAgain = IsWindowEnabled(GetDlgItem(b.box, IDOK)) != FALSE;
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(b.list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
    PostMessageW(b.list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(b.list, WM_LBUTTONUP, 0, at);
    PostMessageW(b.list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(b.list, WM_LBUTTONUP, 0, at);
    waitFor([&] { return !IsWindow(b.box); });
  });
  EXPECT_TRUE(openDisabled);
  EXPECT_TRUE(openAfterEnter) << "Enter with no row closed the box";
  EXPECT_TRUE(openEnabledAgain);
  EXPECT_TRUE(chosen);
  ASSERT_NE(picker.selectedMember(), nullptr);
  EXPECT_EQ(picker.selectedMember()->path, "Scenery/Oak00300.bin");

  MemberPicker again(manyMembers());
  EXPECT_FALSE(runBox("Open from Cancel.ap", again, [&](const Box& b) {
    const HWND cancel = GetDlgItem(b.box, IDCANCEL);
    PostMessageW(cancel, BM_CLICK, 0, 0);
    waitFor([&] { return !IsWindow(b.box); });
  }));
}

}  // namespace
}  // namespace vantrel::testing
