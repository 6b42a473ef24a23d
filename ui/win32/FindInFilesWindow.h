#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "shell/FindInFilesLogic.h"
#include "ui/win32/Win32Dialogs.h"

// The Find in Files window on Windows: a modeless box drawing the fields,
// buttons, progress and results of shell::FindInFilesLogic and forwarding
// every event to it; a WM_TIMER polls it every 100 ms while it is shown.
// Enter is Find All (Enter on a result opens it), Escape or the close box
// hide it and stop a run; the box is kept for the next time.
namespace vantrel::win32 {

// The controls' ids, for tests.
inline constexpr WORD kFindFolderId = 200;
inline constexpr WORD kFindBrowseId = 201;
inline constexpr WORD kFindTextId = 202;
inline constexpr WORD kFindReplaceTextId = 203;
inline constexpr WORD kFindMatchCaseId = 204;
inline constexpr WORD kFindWholeWordId = 205;
inline constexpr WORD kFindIncludePackedId = 206;
inline constexpr WORD kFindAllId = IDOK;
inline constexpr WORD kFindReplaceAllId = 208;
inline constexpr WORD kFindStopId = 209;
inline constexpr WORD kFindUndoId = 210;
inline constexpr WORD kFindProgressId = 211;
inline constexpr WORD kFindStatusId = 212;
inline constexpr WORD kFindResultsId = 213;

class FindInFilesWindow {
 public:
  // dialogs: the test's scripted dialogs, or nullptr for message boxes
  // owned by this window.
  FindInFilesWindow(HWND owner, std::unique_ptr<shell::FindInFilesEngine> engine,
                    platform::Dialogs* dialogs,
                    std::function<void(const shell::FilePlace&)> openMatch,
                    const std::string& startFolder);
  ~FindInFilesWindow();
  FindInFilesWindow(const FindInFilesWindow&) = delete;
  FindInFilesWindow& operator=(const FindInFilesWindow&) = delete;

  // Shows the box (or brings it to the front) with the focus in the find box.
  void show();
  HWND hwnd() const { return box_; }
  HWND item(WORD id) const { return GetDlgItem(box_, id); }
  shell::FindInFilesLogic& logic() { return *logic_; }
  // Takes what is new from the model now (the timer does it every 100 ms).
  void poll();

 private:
  static INT_PTR CALLBACK procedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool keyHook(MSG& message);
  void onCommand(WORD id, WORD code);
  bool onNotify(const NMHDR& notice);
  void setUpList();
  void layout();
  void hide();
  void browse();
  void refreshButtons();
  void openRow(int row);
  shell::FindInFilesInputs inputs() const;

  HWND box_ = nullptr;
  Win32Dialogs ownDialogs_;
  std::unique_ptr<shell::FindInFilesEngine> engine_;
  std::unique_ptr<shell::FindInFilesLogic> logic_;
  std::wstring cellText_;  // the text of the last cell the list asked for
  std::wstring status_;
  int shownRows_ = 0;
  int minWidth_ = 0, minHeight_ = 0;
};

}  // namespace vantrel::win32
