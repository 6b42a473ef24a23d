#include "ui/win32/FindInFilesWindow.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/core/WideText.h"
#include "ui/win32/DialogTemplate.h"
#include "ui/win32/EditField.h"
#include "ui/win32/MessageLoop.h"

namespace vantrel::win32 {

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr short kWidth = 420, kHeight = 300;  // dialog units
constexpr WORD kItems = 17;

bool checked(HWND box, WORD id) { return IsDlgButtonChecked(box, id) == BST_CHECKED; }

}  // namespace

FindInFilesWindow::FindInFilesWindow(HWND owner, std::unique_ptr<shell::FindInFilesEngine> engine,
                                     platform::Dialogs* dialogs,
                                     std::function<void(const shell::FilePlace&)> openMatch,
                                     const std::string& startFolder)
    : engine_(std::move(engine)) {
  logic_ = std::make_unique<shell::FindInFilesLogic>(
      *engine_, dialogs ? *dialogs : static_cast<platform::Dialogs&>(ownDialogs_),
      std::move(openMatch));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  constexpr DWORD kTab = WS_TABSTOP;
  constexpr DWORD kEdit = WS_BORDER | kTab | ES_AUTOHSCROLL;
  TemplateWriter t;
  t.dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_CENTER, kWidth,
           kHeight, kItems);
  t.item(SS_LEFT, 7, 9, 50, 8, 0xFFFF, kStaticAtom, L"F&older:");
  t.item(kEdit, 60, 7, 330, 12, kFindFolderId, kEditAtom, L"");
  t.item(BS_PUSHBUTTON | kTab, 394, 7, 19, 12, kFindBrowseId, kButtonAtom, L"...");
  t.item(SS_LEFT, 7, 25, 50, 8, 0xFFFF, kStaticAtom, L"F&ind what:");
  t.item(kEdit, 60, 23, 353, 12, kFindTextId, kEditAtom, L"");
  t.item(SS_LEFT, 7, 41, 50, 8, 0xFFFF, kStaticAtom, L"R&eplace with:");
  t.item(kEdit, 60, 39, 353, 12, kFindReplaceTextId, kEditAtom, L"");
  t.item(BS_AUTOCHECKBOX | kTab, 60, 55, 70, 10, kFindMatchCaseId, kButtonAtom, L"Match &case");
  t.item(BS_AUTOCHECKBOX | kTab, 135, 55, 70, 10, kFindWholeWordId, kButtonAtom, L"&Whole word");
  t.item(BS_AUTOCHECKBOX | kTab, 210, 55, 100, 10, kFindIncludePackedId, kButtonAtom,
         L"Include &packed files");
  t.item(BS_DEFPUSHBUTTON | kTab, 60, 70, 60, 14, kFindAllId, kButtonAtom, L"&Find All");
  t.item(BS_PUSHBUTTON | kTab, 124, 70, 60, 14, kFindReplaceAllId, kButtonAtom, L"&Replace All...");
  t.item(BS_PUSHBUTTON | kTab, 188, 70, 50, 14, kFindStopId, kButtonAtom, L"S&top");
  t.item(BS_PUSHBUTTON | kTab, 242, 70, 76, 14, kFindUndoId, kButtonAtom, L"&Undo last replace");
  t.item(0, 7, 89, 406, 10, kFindProgressId, PROGRESS_CLASSW, L"");
  t.item(SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 7, 102, 406, 9, kFindStatusId, kStaticAtom, L"");
  t.item(WS_BORDER | kTab | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 7, 114,
         406, 179, kFindResultsId, WC_LISTVIEWW, L"");
  box_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.data(), owner, procedure,
                                    reinterpret_cast<LPARAM>(this));
  if (box_ == nullptr) return;
  ownDialogs_.setOwner(box_);
  SetWindowTextW(box_, L"Find in Files");
  SetDlgItemTextW(box_, kFindFolderId, platform::utf8ToWide(startFolder).c_str());
  CheckDlgButton(box_, kFindIncludePackedId, BST_CHECKED);
  setUpList();
  RECT outer{};
  GetWindowRect(box_, &outer);
  minWidth_ = outer.right - outer.left;
  minHeight_ = (outer.bottom - outer.top) / 2;
  registerDialogWindow(box_, [this](MSG& message) { return keyHook(message); });
  logic_->folderChanged(startFolder);
  refreshButtons();
}

FindInFilesWindow::~FindInFilesWindow() {
  if (box_ == nullptr) return;
  unregisterDialogWindow(box_);
  KillTimer(box_, kPollTimer);
  SetWindowLongPtrW(box_, DWLP_USER, 0);
  DestroyWindow(box_);
}

void FindInFilesWindow::show() {
  if (box_ == nullptr) return;
  ShowWindow(box_, SW_SHOWNORMAL);
  SetForegroundWindow(box_);
  BringWindowToTop(box_);
  SetTimer(box_, kPollTimer, kPollMs, nullptr);
  const HWND find = item(kFindTextId);
  SetFocus(find);
  SendMessageW(find, EM_SETSEL, 0, -1);
}

void FindInFilesWindow::hide() {
  logic_->stop();
  poll();
  KillTimer(box_, kPollTimer);
  ShowWindow(box_, SW_HIDE);
  if (const HWND owner = GetWindow(box_, GW_OWNER)) SetActiveWindow(owner);
}

shell::FindInFilesInputs FindInFilesWindow::inputs() const {
  shell::FindInFilesInputs in;
  in.folder = windowText(item(kFindFolderId));
  in.findText = windowText(item(kFindTextId));
  in.replaceText = windowText(item(kFindReplaceTextId));
  in.matchCase = checked(box_, kFindMatchCaseId);
  in.wholeWord = checked(box_, kFindWholeWordId);
  in.includePacked = checked(box_, kFindIncludePackedId);
  return in;
}

void FindInFilesWindow::setUpList() {
  const HWND list = item(kFindResultsId);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  RECT widths{0, 0, 170, 30};  // File and Line, in dialog units
  MapDialogRect(box_, &widths);
  RECT more{0, 0, 50, 260};  // Match and Text
  MapDialogRect(box_, &more);
  struct Column {
    const wchar_t* title;
    int width;
    int format;
  };
  const Column columns[] = {{L"File", widths.right, LVCFMT_LEFT},
                            {L"Line", widths.bottom, LVCFMT_RIGHT},
                            {L"Match", more.right, LVCFMT_LEFT},
                            {L"Text", more.bottom, LVCFMT_LEFT}};
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = columns[i].format;
    column.cx = columns[i].width;
    column.pszText = const_cast<wchar_t*>(columns[i].title);
    ListView_InsertColumn(list, i, &column);
  }
}

// The list and the lines above it follow the box's width; the list takes
// the height.
void FindInFilesWindow::layout() {
  RECT client{};
  GetClientRect(box_, &client);
  RECT margin{7, 7, 0, 0};
  MapDialogRect(box_, &margin);
  auto stretch = [&](WORD id, bool height) {
    const HWND control = item(id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, box_, reinterpret_cast<POINT*>(&r), 2);
    const int width = std::max(10, static_cast<int>(client.right - margin.left - r.left));
    const int tall = height ? std::max(10, static_cast<int>(client.bottom - margin.top - r.top))
                            : r.bottom - r.top;
    SetWindowPos(control, nullptr, 0, 0, width, tall, SWP_NOMOVE | SWP_NOZORDER);
  };
  // The browse button keeps its width at the right.
  const HWND browse = item(kFindBrowseId);
  RECT b{};
  GetWindowRect(browse, &b);
  MapWindowPoints(nullptr, box_, reinterpret_cast<POINT*>(&b), 2);
  const int browseWidth = b.right - b.left;
  SetWindowPos(browse, nullptr, client.right - margin.left - browseWidth, b.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  const HWND folder = item(kFindFolderId);
  RECT f{};
  GetWindowRect(folder, &f);
  MapWindowPoints(nullptr, box_, reinterpret_cast<POINT*>(&f), 2);
  SetWindowPos(
      folder, nullptr, 0, 0,
      std::max(10, static_cast<int>(client.right - margin.left - browseWidth - 4 - f.left)),
      f.bottom - f.top, SWP_NOMOVE | SWP_NOZORDER);
  stretch(kFindTextId, false);
  stretch(kFindReplaceTextId, false);
  stretch(kFindProgressId, false);
  stretch(kFindStatusId, false);
  stretch(kFindResultsId, true);
  InvalidateRect(box_, nullptr, TRUE);
}

void FindInFilesWindow::browse() {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW info{};
  info.hwndOwner = box_;
  info.lpszTitle = L"Folder to search";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH * 4] = {};
    if (SHGetPathFromIDListEx(chosen, path, static_cast<DWORD>(std::size(path)), GPFIDL_DEFAULT))
      SetDlgItemTextW(box_, kFindFolderId, path);
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

void FindInFilesWindow::poll() {
  const shell::FindInFilesUpdate update = logic_->poll();
  const HWND list = item(kFindResultsId);
  const int total = static_cast<int>(logic_->rows().size());
  if (update.cleared || total != shownRows_) {
    // A growing virtual list keeps its scroll place and selection.
    ListView_SetItemCountEx(list, total,
                            update.cleared ? 0 : LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    if (update.cleared) InvalidateRect(list, nullptr, TRUE);
    shownRows_ = total;
  }
  const HWND progress = item(kFindProgressId);
  SendMessageW(progress, PBM_SETRANGE32, 0,
               static_cast<LPARAM>(std::max<std::size_t>(update.filesFound, 1)));
  SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(update.filesDone), 0);
  const std::wstring status = platform::utf8ToWide(update.status);
  if (status != status_) {
    status_ = status;
    SetDlgItemTextW(box_, kFindStatusId, status_.c_str());
  }
  refreshButtons();
}

void FindInFilesWindow::refreshButtons() {
  const shell::FindInFilesButtons enabled = logic_->buttons();
  const HWND focus = GetFocus();
  auto enable = [this](WORD id, bool on) { EnableWindow(item(id), on ? TRUE : FALSE); };
  enable(kFindAllId, enabled.findAll);
  enable(kFindReplaceAllId, enabled.replaceAll);
  enable(kFindStopId, enabled.stop);
  enable(kFindUndoId, enabled.undo);
  // A button that was disabled under the focus hands it to the find box.
  if (focus != nullptr && !IsWindowEnabled(focus) && GetParent(focus) == box_)
    SetFocus(item(kFindTextId));
}

void FindInFilesWindow::openRow(int row) {
  if (row >= 0) logic_->activate(static_cast<std::size_t>(row));
}

bool FindInFilesWindow::keyHook(MSG& message) {
  // Enter on a result opens it instead of pressing Find All.
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
      message.hwnd == item(kFindResultsId)) {
    openRow(ListView_GetNextItem(message.hwnd, -1, LVNI_SELECTED));
    return true;
  }
  return false;
}

void FindInFilesWindow::onCommand(WORD id, WORD code) {
  switch (id) {
    case kFindAllId:
      logic_->findAll(inputs());
      poll();
      break;
    case kFindReplaceAllId:
      logic_->replaceAll(inputs());
      poll();
      break;
    case kFindStopId:
      logic_->stop();
      refreshButtons();
      break;
    case kFindUndoId:
      logic_->undoLastReplace(inputs().folder);
      refreshButtons();
      break;
    case kFindBrowseId:
      browse();
      break;
    case kFindFolderId:
      if (code == EN_CHANGE) {
        logic_->folderChanged(inputs().folder);
        refreshButtons();
      }
      break;
    case IDCANCEL:
      hide();
      break;
  }
}

bool FindInFilesWindow::onNotify(const NMHDR& notice) {
  if (notice.idFrom != kFindResultsId) return false;
  switch (notice.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& cell = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(notice)).item;
      if (!(cell.mask & LVIF_TEXT) || cell.cchTextMax <= 0) return true;
      const auto& rows = logic_->rows();
      if (cell.iItem < 0 || static_cast<std::size_t>(cell.iItem) >= rows.size()) {
        cell.pszText[0] = L'\0';
        return true;
      }
      const shell::ResultRow& row = rows[static_cast<std::size_t>(cell.iItem)];
      std::string text;
      switch (cell.iSubItem) {
        case 0:
          text = row.file;
          break;
        case 1:
          text = row.line;
          break;
        case 2:
          text = row.problem ? std::string() : row.text.substr(row.matchStart, row.matchLength);
          break;
        default:
          text = row.text;
      }
      cellText_ = platform::utf8ToWide(text);
      lstrcpynW(cell.pszText, cellText_.c_str(), cell.cchTextMax);
      return true;
    }
    case NM_DBLCLK:
      openRow(reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem);
      return true;
    case LVN_ODFINDITEMW:
      SetWindowLongPtrW(box_, DWLP_MSGRESULT, -1);
      return true;
  }
  return false;
}

INT_PTR CALLBACK FindInFilesWindow::procedure(HWND box, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(box, DWLP_USER, lParam);
    reinterpret_cast<FindInFilesWindow*>(lParam)->box_ = box;
    return TRUE;
  }
  auto* window = reinterpret_cast<FindInFilesWindow*>(GetWindowLongPtrW(box, DWLP_USER));
  return window != nullptr ? window->handle(message, wParam, lParam) : FALSE;
}

INT_PTR FindInFilesWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == kPollTimer) poll();
      return TRUE;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) layout();
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = {minWidth_, minHeight_};
      return TRUE;
    }
    case WM_CLOSE:
      hide();
      return TRUE;
  }
  return FALSE;
}

}  // namespace vantrel::win32
