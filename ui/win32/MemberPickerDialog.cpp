#include "ui/win32/MemberPickerDialog.h"

#include <commctrl.h>

#include <optional>

#include "archive/MemberPicker.h"
#include "platform/core/WideText.h"
#include "ui/win32/DialogTemplate.h"

namespace vantrel::win32 {

namespace {

using archive::MemberPicker;

constexpr UINT_PTR kFilterSubclass = 1;

struct PickerBox {
  std::wstring title;
  MemberPicker& picker;
  HWND box = nullptr;
  HWND filter = nullptr;
  HWND list = nullptr;
  bool showingSelection = false;  // the list's own notices of it are not the user's
  std::wstring cellText;          // the text of the last cell the list asked for
  bool chosen = false;
};

// The picker's selection, shown in the list and scrolled into view.
void showSelection(PickerBox& p) {
  p.showingSelection = true;
  ListView_SetItemState(p.list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (const std::optional<std::size_t> row = p.picker.selectedRow()) {
    const int index = static_cast<int>(*row);
    ListView_SetItemState(p.list, index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(p.list, index, FALSE);
  }
  p.showingSelection = false;
}

// The rows for the filter as it is now: how many, which is selected, and
// Open only while there is one to open.
void showRows(PickerBox& p) {
  ListView_SetItemCountEx(p.list, static_cast<int>(p.picker.rowCount()), 0);
  InvalidateRect(p.list, nullptr, TRUE);
  showSelection(p);
  EnableWindow(GetDlgItem(p.box, IDOK), p.picker.rowCount() > 0);
}

void open(PickerBox& p) {
  if (p.picker.selectedMember() == nullptr) return;
  p.chosen = true;
  EndDialog(p.box, IDOK);
}

std::optional<MemberPicker::Move> moveOfKey(WPARAM key) {
  switch (key) {
    case VK_UP:
      return MemberPicker::Move::Up;
    case VK_DOWN:
      return MemberPicker::Move::Down;
    case VK_PRIOR:
      return MemberPicker::Move::PageUp;
    case VK_NEXT:
      return MemberPicker::Move::PageDown;
    case VK_HOME:
      return MemberPicker::Move::Home;
    case VK_END:
      return MemberPicker::Move::End;
    default:
      return std::nullopt;
  }
}

// The filter box hands the list's moving keys to the picker.
LRESULT CALLBACK filterSubclass(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) {
  auto& p = *reinterpret_cast<PickerBox*>(data);
  switch (message) {
    case WM_KEYDOWN: {
      const std::optional<MemberPicker::Move> move = moveOfKey(wParam);
      const bool textSelection =
          (wParam == VK_HOME || wParam == VK_END) && (GetKeyState(VK_SHIFT) & 0x8000);
      if (move && !textSelection) {
        const int page = ListView_GetCountPerPage(p.list);
        p.picker.move(*move, page > 0 ? static_cast<std::size_t>(page) : 1);
        showSelection(p);
        return 0;
      }
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(field, filterSubclass, id);
      break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

void fillCell(PickerBox& p, LVITEMW& item) {
  if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= p.picker.rowCount()) {
    item.pszText[0] = L'\0';
    return;
  }
  const archive::PickerRow row = p.picker.row(static_cast<std::size_t>(item.iItem));
  p.cellText = platform::utf8ToWide(item.iSubItem == 0 ? row.path : row.sizeText);
  lstrcpynW(item.pszText, p.cellText.c_str(), item.cchTextMax);
}

// The list's notices; true when the message was handled, with its result
// in DWLP_MSGRESULT.
bool listNotice(PickerBox& p, const NMHDR& notice) {
  switch (notice.code) {
    case LVN_GETDISPINFOW:
      fillCell(p, reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(notice)).item);
      return true;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
      if (!p.showingSelection && change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
          (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
        p.picker.select(static_cast<std::size_t>(change.iItem));
      }
      return true;
    }
    case NM_DBLCLK: {
      const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(notice);
      if (click.iItem >= 0) {
        p.picker.select(static_cast<std::size_t>(click.iItem));
        open(p);
      }
      return true;
    }
    case LVN_ODFINDITEMW:  // no type-to-find in the list: the filter box does that
      SetWindowLongPtrW(p.box, DWLP_MSGRESULT, -1);
      return true;
  }
  return false;
}

void setUpList(PickerBox& p) {
  ListView_SetExtendedListViewStyle(p.list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  RECT widths{0, 0, 230, 60};  // the columns' widths in dialog units
  MapDialogRect(p.box, &widths);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = widths.right;
  column.pszText = const_cast<wchar_t*>(L"Path");
  ListView_InsertColumn(p.list, 0, &column);
  column.fmt = LVCFMT_RIGHT;
  column.cx = widths.bottom;
  column.pszText = const_cast<wchar_t*>(L"Size");
  ListView_InsertColumn(p.list, 1, &column);
}

INT_PTR CALLBACK pickerProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* p = reinterpret_cast<PickerBox*>(GetWindowLongPtrW(box, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      p = reinterpret_cast<PickerBox*>(lParam);
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      p->box = box;
      p->filter = GetDlgItem(box, kMemberFilterId);
      p->list = GetDlgItem(box, kMemberListId);
      SetWindowTextW(box, p->title.c_str());
      SetWindowTextW(p->filter, platform::utf8ToWide(p->picker.filter()).c_str());
      SetWindowSubclass(p->filter, filterSubclass, kFilterSubclass, reinterpret_cast<DWORD_PTR>(p));
      setUpList(*p);
      showRows(*p);
      SetFocus(p->filter);
      return FALSE;  // the focus was set here
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kMemberFilterId:
          if (HIWORD(wParam) == EN_CHANGE) {
            const int length = GetWindowTextLengthW(p->filter);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            GetWindowTextW(p->filter, text.data(), length + 1);
            text.resize(static_cast<std::size_t>(length));
            p->picker.setFilter(platform::wideToUtf8(text));
            showRows(*p);
          }
          return TRUE;
        case IDOK:
          open(*p);
          return TRUE;
        case IDCANCEL:
          EndDialog(box, IDCANCEL);
          return TRUE;
      }
      break;
    case WM_NOTIFY: {
      const auto& notice = *reinterpret_cast<const NMHDR*>(lParam);
      if (p != nullptr && notice.idFrom == kMemberListId) return listNotice(*p, notice);
      break;
    }
  }
  return FALSE;
}

}  // namespace

bool pickMemberBox(HWND owner, const std::string& title, archive::MemberPicker& picker) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  PickerBox p{platform::utf8ToWide(title), picker, nullptr, nullptr, nullptr, false, {}, false};

  TemplateWriter t;
  t.dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 320, 226, 4);
  t.item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 7, 306, 12, kMemberFilterId, kEditAtom, L"");
  t.item(WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 7,
         24, 306, 176, kMemberListId, WC_LISTVIEWW, L"");
  t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 209, 205, 50, 14, IDOK, kButtonAtom, L"Open");
  t.item(BS_PUSHBUTTON | WS_TABSTOP, 263, 205, 50, 14, IDCANCEL, kButtonAtom, L"Cancel");
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.data(), owner, pickerProc,
                          reinterpret_cast<LPARAM>(&p));
  return p.chosen;
}

}  // namespace vantrel::win32
