// The main window's controls: names, captions, tooltips, tab order, start
// state, access keys, menu, fonts, Exit, and what the busy state disables.
#include "Scintilla.h"
#include "WindowFixture.h"
#include "pipeline/operations/WrittenBinCheck.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace vantrel::testing {
namespace {

using shell::kMainWindowControls;
using MainWindowControls = WindowFixture;

struct ExpectedControl {
  const char* name;
  const char* caption;  // "" for none
  const char* toolTip;  // "" for none
};

// In tab order, starting from the focus the window opens with.
const ExpectedControl kExpected[] = {
    {"Text1", "", ""},
    {"Command1", ".....", "Browse for a .bin file to check/modify."},
    {"RichTextBox1", "", ""},
    {"Command2", "&Exit", "Close the editor"},
    {"Command3", "&Save .bin",
     "Saves the xml file from the editor and converts it to .bin replacing original."},
    {"Text2", "", ""},
    {"Command4", "Find",
     "Find the word in the top box, keep clicking to cycle through all instances"},
    {"Text3", "", ""},
    {"Command5", "Replace", "Replace selected word with the one in replace box"},
    {"Command6", "Replace All",
     "Replaces all instances of top string with the one in the bottom box."},
    {"Check1", "Whole Word only", ""},
    {"Command7", "Clear", "Clears screen and deletes .xml from TempFiles"},
    {"Command8", "Save As", "Saves the modified .xml from editor but does no conversion."},
    {"Command9", "View other Vantrel files",
     "Converts some Vantrel files to .xml and displays in editor."},
    {"Command10", "Convert to DDS", ""},
    {"Command11", "View DDS", ""},
};

// The design name of a control of the main window, or what else it is.
std::string nameOf(HWND control) {
  if (control == nullptr) return "<none>";
  const auto index = win32::controlIndexOfId(GetDlgCtrlID(control));
  return index ? kMainWindowControls[*index].name : "<other>";
}

std::string toolTipOf(const win32::MainWindow& window, HWND control) {
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window.hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  if (!SendMessageW(window.controls().toolTips, TTM_GETTOOLINFOW, 0,
                    reinterpret_cast<LPARAM>(&tool)))
    return "";
  tool.lpszText = text;
  SendMessageW(window.controls().toolTips, TTM_GETTEXTW, std::size(text),
               reinterpret_cast<LPARAM>(&tool));
  return platform::wideToUtf8(text);
}

std::string menuText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
  return platform::wideToUtf8(text);
}

TEST_F(MainWindowControls, StartEmptyInThePathBoxAndTabVisitsEveryControlInTheTable) {
  auto window = showMainWindow();
  const auto& c = window->controls();
  EXPECT_EQ(textOf(window->hwnd()), "Vantrel bin file editor and texture viewer");
  EXPECT_EQ(textOf(c[shell::kLabel1]), "Open .bin file");
  EXPECT_EQ(toolTipOf(*window, c[shell::kLabel1]), "");
  EXPECT_EQ(textOf(c[shell::kPathBox]) + textOf(c[shell::kFindBox]) + textOf(c[shell::kReplaceBox]),
            "");
  EXPECT_EQ(window->editor().length(), 0);
  EXPECT_EQ(SendMessageW(c[shell::kWholeWordBox], BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(c.toolTips, TTM_GETTOOLCOUNT, 0, 0), 9)
      << "the nine buttons Command1 to Command9";

  std::string visited, expected;
  for (const ExpectedControl& e : kExpected) {
    SCOPED_TRACE(e.name);
    visited += nameOf(focused()) + ' ';
    expected += std::string(e.name) + ' ';
    const HWND control = c[shell::controlIndex(e.name)];
    const bool button =
        kMainWindowControls[shell::controlIndex(e.name)].kind != shell::ControlKind::LineEdit &&
        kMainWindowControls[shell::controlIndex(e.name)].kind != shell::ControlKind::Editor;
    EXPECT_EQ(button ? textOf(control) : std::string(), e.caption);
    EXPECT_EQ(toolTipOf(*window, control), e.toolTip);
    // Tab types a tab in the editor; Ctrl+Tab moves on from there.
    typeKey(VK_TAB, nameOf(focused()) == "RichTextBox1" ? std::vector<WORD>{VK_CONTROL}
                                                        : std::vector<WORD>{});
  }
  visited += nameOf(focused());
  expected += "Text1";  // and round again, never through the label
  EXPECT_EQ(visited, expected);
  EXPECT_EQ(window->editor().length(), 0) << "Ctrl+Tab typed nothing";

  // Tab types a tab in the editor; Ctrl+Shift+Tab goes back.
  SetFocus(c.editor->hwnd());
  typeKey(VK_TAB);
  EXPECT_EQ(window->editor().bytes(), "\t");
  EXPECT_EQ(nameOf(focused()), "RichTextBox1");
  typeKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(nameOf(focused()), "Command1");
  // Tabbing back into the editor keeps its text unselected.
  typeKey(VK_TAB);
  EXPECT_EQ(nameOf(focused()), "RichTextBox1");
  EXPECT_EQ(window->editor().selLength(), 0);
  EXPECT_EQ(window->editor().bytes(), "\t");
}

TEST_F(MainWindowControls, AccessKeysPressSaveAndExitAndTheMenuOffersExitUnderE) {
  {
    auto window = showMainWindow();
    SetFocus(window->controls().editor->hwnd());
    typeKey('S', {VK_MENU});  // Save .bin with nothing open: refused, with a message
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(nameOf(focused()), "RichTextBox1") << "the focus stays";
    EXPECT_EQ(window->editor().length(), 0) << "Alt+S typed nothing";
    typeKey('E', {VK_MENU});
    EXPECT_FALSE(window->isOpen());
    EXPECT_TRUE(fs::exists(preferences()));
  }
  fs::remove(preferences());
  auto window = showMainWindow();
  const HMENU bar = GetMenu(window->hwnd());
  ASSERT_EQ(GetMenuItemCount(bar), 2);  // Options, then Tools beside it
  EXPECT_EQ(menuText(bar, 0), "Options");
  EXPECT_EQ(menuText(bar, 1), "Tools");
  EXPECT_EQ(menuText(GetSubMenu(bar, 1), 0), "Go to Line...\tCtrl+G");
  const HMENU options = GetSubMenu(bar, 0);
  EXPECT_EQ(menuText(options, 0) + '|' + menuText(options, 1) + '|' + menuText(options, 2),
            "Texture Editor Path|Clear Temp Files|&Exit");
  // Alt opens the menu bar, Down the Options menu, E its Exit entry.
  typeKeys({{VK_MENU}, {VK_DOWN}, {'E'}});
  pumpUntil([&] { return !window->isOpen(); }, 2000);
  EXPECT_FALSE(window->isOpen());
  EXPECT_TRUE(fs::exists(preferences()));
}

TEST_F(MainWindowControls, FontsAreMsSansSerifAndTheEditorTwelvePointBold) {
  auto window = showMainWindow();
  const auto& c = window->controls();
  EXPECT_EQ(c.editor->fontPoints(), 12);
  EXPECT_TRUE(c.editor->fontBold());
  const unsigned dpi = win32::windowDpi(window->hwnd());
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (i == shell::kEditor) continue;
    SCOPED_TRACE(kMainWindowControls[i].name);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c[i], WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(platform::wideToUtf8(font.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(8.25 * dpi / 72)));
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
  }
}

TEST_F(MainWindowControls, ExitButtonAndMenuEntryCloseAndSaveButKeepTheWorkingFiles) {
  fs::create_directory(workingFolder());
  writeFile(workingFolder() / "kept.xml", "x");
  for (const bool byMenu : {false, true}) {
    SCOPED_TRACE(byMenu ? "menu" : "button");
    fs::remove(preferences());
    auto window = showMainWindow();
    if (byMenu) {
      SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(win32::menuEntryId(2), 0), 0);
    } else {
      SendMessageW(window->controls()[shell::controlIndex("Command2")], BM_CLICK, 0, 0);
    }
    EXPECT_FALSE(window->isOpen());
    EXPECT_TRUE(fs::exists(preferences()));
  }
  EXPECT_TRUE(fs::exists(workingFolder() / "kept.xml"));
}

TEST_F(MainWindowControls, BusyDisablesOnlyTheDocumentCommands) {
  auto window = showMainWindow();
  const auto& c = window->controls();
  const char* documentCommands[] = {"Command1", "Command3", "Command4", "Command5",  "Command6",
                                    "Command7", "Command8", "Command9", "Command10", "Text1"};
  const char* others[] = {"Command2", "Command11", "Text2", "Text3", "Check1"};
  auto menuEnabled = [&](std::size_t entry) {
    return (GetMenuState(c.optionsMenu, static_cast<UINT>(win32::menuEntryId(entry)),
                         MF_BYCOMMAND) &
            MF_GRAYED) == 0;
  };
  window->editor().setBytes("alpha beta");
  setTextOf(c[shell::kFindBox], "beta");
  for (const bool busy : {true, false}) {
    SCOPED_TRACE(busy ? "busy" : "no longer busy");
    window->setBusy(busy);
    for (const char* name : documentCommands)
      EXPECT_EQ(IsWindowEnabled(c[shell::controlIndex(name)]) != FALSE, !busy) << name;
    for (const char* name : others)
      EXPECT_TRUE(IsWindowEnabled(c[shell::controlIndex(name)])) << name;
    EXPECT_EQ(menuEnabled(1), !busy) << "Clear Temp Files";
    EXPECT_TRUE(menuEnabled(0) && menuEnabled(2)) << "Texture Editor Path and Exit";
    EXPECT_EQ(window->editor().isReadOnly(), busy);
    EXPECT_EQ(SendMessageW(c.editor->hwnd(), SCI_GETCURSOR, 0, 0),
              busy ? SC_CURSORWAIT : SC_CURSORNORMAL)
        << "the wait cursor over the text";
    // A disabled Find cannot be pressed from the find box either.
    SetFocus(c[shell::kFindBox]);
    window->editor().setSelStart(0);
    typeKey(VK_RETURN);
    EXPECT_EQ(window->editor().selStart(), busy ? 0 : 6);
  }
}

// Exit pressed while a file converts asks whether to stop the converter;
// answered No, the window stays until the conversion has finished, then
// goes, and nothing runs on a destroyed window.
TEST_F(MainWindowControls, ExitWhileAFileConvertsClosesOnceTheConversionHasEnded) {
  fs::copy_file(STAND_IN_SERZ_PATH, programFolder_ / "serz.exe");
  writeFile(programFolder_ / "serz.hold", "");  // the converter waits while this exists
  const fs::path bin = root_ / "a.bin";
  writeFile(bin, "SERZ<a/>");
  auto window = showMainWindow();
  const HWND open = window->controls()[shell::controlIndex("Command1")];
  const HWND exit = window->controls()[shell::controlIndex("Command2")];
  std::atomic<bool> openWasDisabled{false}, exitWasEnabled{false}, stillShown{false};
  std::thread user([&, hwnd = window->hwnd()] {
    Sleep(400);  // the converter runs
    openWasDisabled = !IsWindowEnabled(open);
    exitWasEnabled = IsWindowEnabled(exit) != FALSE;
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(exit), BN_CLICKED),
                 reinterpret_cast<LPARAM>(exit));
    Sleep(400);
    stillShown = IsWindowVisible(hwnd) != FALSE;
    fs::remove(programFolder_ / "serz.hold");
  });
  dialogs_.answers.push_back(bin.string());
  dialogs_.questionAnswers = {platform::Answer::No};
  SendMessageW(open, BM_CLICK, 0, 0);  // returns once the conversion has ended
  user.join();
  EXPECT_TRUE(openWasDisabled);
  EXPECT_TRUE(exitWasEnabled);
  EXPECT_TRUE(stillShown) << "the window waits for the conversion";
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0],
            "a.bin is still being converted. Stop the converter and put a.bin back as it was?");
  EXPECT_FALSE(window->isOpen()) << "and is gone once the command has ended";
  EXPECT_TRUE(fs::exists(preferences()));
  EXPECT_TRUE(dialogs_.messages.empty());
}

// A file dropped while Save .bin runs (another file of the same name, and
// the open file itself) is refused with a message: the save finishes with
// the edit, the other file and the editor's text stay as they were, and
// the converter ran once.
TEST_F(MainWindowControls, AFileDroppedDuringASaveIsRefused) {
  fs::copy_file(STAND_IN_SERZ_PATH, programFolder_ / "serz.exe");
  pipeline::setBinCheckForTests([](const std::string&) { return std::optional<std::string>(); });
  fs::create_directories(root_ / "B");
  const fs::path bin = root_ / "x.bin", other = root_ / "B" / "x.bin";
  writeFile(bin, "SERZoriginal");
  writeFile(other, "SERZthe other file");
  auto window = showMainWindow();
  window->logic().openFile(platform::utf8FromPath(bin));
  ASSERT_EQ(window->editor().bytes(), "original");
  window->editor().setSelText("edited ");
  pump();

  writeFile(programFolder_ / "serz.hold", "");  // the converter waits while this exists
  const HWND save = window->controls()[shell::controlIndex("Command3")];
  std::atomic<bool> saveWasDisabled{false};
  std::thread user([&, hwnd = window->hwnd(), editor = window->controls().editor->hwnd()] {
    Sleep(400);  // the converter runs
    saveWasDisabled = !IsWindowEnabled(save);
    dropFile(hwnd, platform::utf8FromPath(other));
    dropFile(editor, platform::utf8FromPath(bin));
    Sleep(400);
    fs::remove(programFolder_ / "serz.hold");
  });
  SendMessageW(save, BM_CLICK, 0, 0);  // returns once the save has ended
  user.join();
  pump();
  pipeline::setBinCheckForTests(nullptr);

  EXPECT_TRUE(saveWasDisabled);
  EXPECT_EQ(readFile(bin), "SERZedited original");
  EXPECT_EQ(readFile(root_ / "x.bin.bak"), "SERZoriginal");
  EXPECT_FALSE(fs::exists(root_ / "x.bin.bak1")) << "the converter ran once";
  EXPECT_EQ(readFile(other), "SERZthe other file");
  EXPECT_EQ(window->editor().bytes(), "edited original");
  EXPECT_FALSE(window->editor().isModified());
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  for (const auto& message : dialogs_.messages)
    EXPECT_EQ(message.text, "x.bin is still being converted.");
}

}  // namespace
}  // namespace vantrel::testing
