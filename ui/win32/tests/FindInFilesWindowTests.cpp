// The Find in Files window on Windows, under Wine, over the real engine and
// the real serz.exe: Ctrl+Shift+F opens one modeless box (raised again),
// Find All on real files fills the list, the buttons follow the run, and
// Enter on a result opens the file at the match in the main window.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "shell/ToolsMenu.h"
#include "tests/shell/FindInFilesFakeEngine.h"
#include "ui/win32/CreateControls.h"
#include "ui/win32/FindInFilesWindow.h"
#include "ui/win32/tests/WindowFixture.h"

namespace vantrel::testing {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

std::string cellText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  ListView_GetItemText(list, row, column, text, 512);
  return platform::wideToUtf8(text);
}

bool enabled(const win32::FindInFilesWindow& window, WORD id) {
  return IsWindowEnabled(window.item(id)) != FALSE;
}

class FindInFilesWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    std::string shared = VANTREL_SHARED_DIR;
    if (!shared.empty() && shared.front() == '/') shared = "Z:" + shared;
    fixtures_ = fs::path(shared) / "fixtures" / "real";
    if (!fs::exists(fixtures_ / "ScenarioBeforeSerz.bin"))
      GTEST_SKIP() << "no real fixtures in " << fixtures_.string();
    searched_ = root_ / "Content";
    fs::create_directories(searched_ / "Scenarios");
    fs::copy_file(fixtures_ / "ScenarioBeforeSerz.bin", searched_ / "Scenarios" / "Scenario.bin");
    fs::copy_file(fixtures_ / "InitialSave.bin", searched_ / "InitialSave.bin");
    // The fixtures are read-only; the copies are the user's own files.
    for (const char* copy : {"Scenarios/Scenario.bin", "InitialSave.bin"})
      fs::permissions(searched_ / copy, fs::perms::owner_write, fs::perm_options::add);
    fs::copy_file(SERZ_PATH, programFolder_ / "serz.exe");
    main_ = showMainWindow();
  }
  void TearDown() override {
    main_.reset();
    WindowFixture::TearDown();
  }
  win32::FindInFilesWindow& box() { return *main_->findInFilesWindow(); }

  fs::path fixtures_, searched_;
  std::unique_ptr<win32::MainWindow> main_;
};

TEST_F(FindInFilesWindowTest, CtrlShiftFOpensOneModelessBox) {
  ASSERT_EQ(main_->findInFilesWindow(), nullptr);
  typeKey('F', {VK_CONTROL, VK_SHIFT});
  ASSERT_NE(main_->findInFilesWindow(), nullptr);
  const HWND hwnd = box().hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(IsWindowEnabled(main_->hwnd()));  // modeless
  EXPECT_EQ(textOf(hwnd), "Find in Files");
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), main_->hwnd());
  EXPECT_EQ(IsDlgButtonChecked(hwnd, win32::kFindIncludePackedId), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(hwnd, win32::kFindMatchCaseId), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(hwnd, win32::kFindWholeWordId), BST_UNCHECKED);
  EXPECT_TRUE(enabled(box(), win32::kFindAllId));
  EXPECT_TRUE(enabled(box(), win32::kFindReplaceAllId));
  EXPECT_FALSE(enabled(box(), win32::kFindStopId));
  EXPECT_FALSE(enabled(box(), win32::kFindUndoId));
  EXPECT_EQ(GetFocus(), box().item(win32::kFindTextId));

  // Escape hides it; the Tools entry shows the same box again.
  typeKey(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  std::size_t entry = 0;
  while (std::string(shell::kToolsMenuEntries[entry].name) != "mnuFindInFiles") ++entry;
  SendMessageW(main_->hwnd(), WM_COMMAND, MAKEWPARAM(win32::toolEntryId(entry), 0), 0);
  pump();
  EXPECT_EQ(box().hwnd(), hwnd);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(FindInFilesWindowTest, FindAllListsEveryMatchAndEnterOpensOne) {
  main_->showFindInFiles();
  setTextOf(box().item(win32::kFindFolderId), searched_.string());
  setTextOf(box().item(win32::kFindTextId), "CreativeRail");
  CheckDlgButton(box().hwnd(), win32::kFindMatchCaseId, BST_CHECKED);
  SetFocus(box().item(win32::kFindTextId));
  typeKey(VK_RETURN);  // Find All
  ASSERT_TRUE(pumpUntil([&] { return !box().logic().running(); }, 30'000));
  box().poll();

  const std::size_t expected =
      occurrences(readFile(fixtures_ / "ScenarioBeforeSerz.bin.xml"), "CreativeRail");
  ASSERT_GT(expected, 0u);
  const HWND list = box().item(win32::kFindResultsId);
  ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(expected));
  EXPECT_EQ(cellText(list, 0, 0), "Scenarios\\Scenario.bin");
  EXPECT_EQ(cellText(list, 0, 2), "CreativeRail");
  EXPECT_NE(cellText(list, 0, 3).find("CreativeRail"), std::string::npos);
  EXPECT_EQ(textOf(box().item(win32::kFindStatusId))
                .rfind(std::to_string(expected) + " matches in 1 file; 2 files searched", 0),
            0u)
      << textOf(box().item(win32::kFindStatusId));
  const HWND progress = box().item(win32::kFindProgressId);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 2);
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 2);
  EXPECT_TRUE(enabled(box(), win32::kFindAllId));
  EXPECT_FALSE(enabled(box(), win32::kFindStopId));

  const int row = static_cast<int>(expected) - 1;
  const long line = std::stol(cellText(list, row, 1));
  SetFocus(list);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  typeKey(VK_RETURN);  // opens the row, not another Find All
  EXPECT_FALSE(box().logic().running());
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(textOf(main_->controls()[shell::kPathBox]),
            (searched_ / "Scenarios" / "Scenario.bin").string());
  const platform::Editor& editor = main_->editor();
  EXPECT_EQ(editor.caretLine(), line);
  ASSERT_EQ(editor.selLength(), 12);
  EXPECT_EQ(editor.bytes().substr(static_cast<std::size_t>(editor.selStart()), 12), "CreativeRail");
  EXPECT_EQ(ListView_GetItemCount(list), static_cast<int>(expected));
}

// Replace All on a real file: asked with the count, the file rewritten
// with a backup, and Undo last replace putting every byte back.
TEST_F(FindInFilesWindowTest, ReplaceAllWritesWithABackupAndUndoPutsItBack) {
  _putenv_s("VANTREL_STATE_DIR", (root_ / "state").string().c_str());
  const fs::path scenario = searched_ / "Scenarios" / "Scenario.bin";
  const std::string original = readFile(scenario);
  const std::size_t expected =
      occurrences(readFile(fixtures_ / "ScenarioBeforeSerz.bin.xml"), "CreativeRail");

  main_->showFindInFiles();
  setTextOf(box().item(win32::kFindFolderId), searched_.string());
  setTextOf(box().item(win32::kFindTextId), "CreativeRail");
  setTextOf(box().item(win32::kFindReplaceTextId), "CreativeRails");
  CheckDlgButton(box().hwnd(), win32::kFindMatchCaseId, BST_CHECKED);
  dialogs_.questionAnswers = {platform::Answer::Yes};
  SendMessageW(box().hwnd(), WM_COMMAND, MAKEWPARAM(win32::kFindReplaceAllId, BN_CLICKED), 0);
  // The count, then the replace.
  ASSERT_TRUE(pumpUntil([&] { return !dialogs_.questions.empty(); }, 30'000));
  ASSERT_TRUE(pumpUntil([&] { return !box().logic().running(); }, 30'000));
  box().poll();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Replace " + std::to_string(expected) +
                                       " matches in 1 file? Every file written gets a backup.");
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(textOf(box().item(win32::kFindStatusId)),
            "Replaced: " + std::to_string(expected) + " replacements in 1 file");
  // (Compared as truth values: the files are binary.)
  EXPECT_TRUE(readFile(scenario) != original);
  EXPECT_TRUE(readFile(searched_ / "Scenarios" / "Scenario.bin.bak") == original);
  ASSERT_TRUE(enabled(box(), win32::kFindUndoId));

  dialogs_.questionAnswers = {platform::Answer::Yes};
  SendMessageW(box().hwnd(), WM_COMMAND, MAKEWPARAM(win32::kFindUndoId, BN_CLICKED), 0);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Put back 1 file.");
  EXPECT_TRUE(readFile(scenario) == original);
  EXPECT_FALSE(enabled(box(), win32::kFindUndoId));
  _putenv_s("VANTREL_STATE_DIR", "");
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

void click(const win32::FindInFilesWindow& window, WORD id) {
  SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(window.item(id)));
}

// The box's fields and buttons reach the model as they are set, over a
// scripted engine.
class FindInFilesWindowWiringTest : public WindowFixture {};

TEST_F(FindInFilesWindowWiringTest, FieldsAndButtonsReachTheRuns) {
  auto engine = std::make_unique<FakeEngine>();
  FakeEngine& fake = *engine;
  const std::string folder = root_.string();
  shell::RunBatch found;
  found.matches.push_back(match(folder + "\\a.bin", "", 1, 1, "Kuju", 0, 4));
  found.progress = progress(1, 1, 1, 1);
  found.finished = true;
  fake.findRuns.push_back({shell::RunBatch{}});  // a run that goes on until stopped
  fake.findRuns.push_back({found});
  shell::RunBatch replaced;
  replaced.written.push_back(
      {{folder + "\\a.bin", ""}, folder + "\\a.bin", folder + "\\a.bin.bak", 1});
  replaced.progress = progress(1, 1, 1, 1);
  replaced.finished = true;
  fake.replaceRuns.push_back({replaced});
  win32::FindInFilesWindow window(nullptr, std::move(engine), &dialogs_, {}, folder);
  window.show();
  pump();
  EXPECT_EQ(textOf(window.item(win32::kFindFolderId)), folder);

  setTextOf(window.item(win32::kFindTextId), "Kuju");
  CheckDlgButton(window.hwnd(), win32::kFindWholeWordId, BST_CHECKED);
  CheckDlgButton(window.hwnd(), win32::kFindIncludePackedId, BST_UNCHECKED);
  click(window, win32::kFindAllId);
  ASSERT_EQ(fake.finds.size(), 1u);
  EXPECT_EQ(fake.finds[0].text, "Kuju");
  EXPECT_TRUE(fake.finds[0].wholeWord);
  EXPECT_FALSE(fake.finds[0].matchCase);
  EXPECT_FALSE(fake.finds[0].includePacked);
  ASSERT_TRUE(enabled(window, win32::kFindStopId));
  click(window, win32::kFindStopId);
  EXPECT_EQ(fake.stops, 1);
  window.poll();
  EXPECT_FALSE(enabled(window, win32::kFindStopId));

  setTextOf(window.item(win32::kFindReplaceTextId), "Acme");
  dialogs_.questionAnswers = {platform::Answer::Yes};
  click(window, win32::kFindReplaceAllId);
  for (int i = 0; i < 5; ++i) window.poll();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Replace 1 match in 1 file? Every file written gets a backup.");
  ASSERT_EQ(fake.replaces.size(), 1u);
  EXPECT_EQ(fake.replaces[0].replacement, "Acme");
  EXPECT_TRUE(fake.replaces[0].find.wholeWord);
  EXPECT_EQ(textOf(window.item(win32::kFindStatusId)), "Replaced: 1 replacement in 1 file");
  const HWND list = window.item(win32::kFindResultsId);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(cellText(list, 0, 0), "a.bin");
}

}  // namespace
}  // namespace vantrel::testing
