#include "ui/win32/CreateControls.h"

#include <commctrl.h>

#include "platform/core/WideText.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/MainWindowLayout.h"
#include "ui/win32/Twips.h"

namespace vantrel::win32 {

namespace {

using shell::ControlKind;
using shell::kMainWindowControls;
using shell::kOptionsMenuEntries;

constexpr int kFirstControlId = 1000;
constexpr int kFirstMenuEntryId = 2000;
constexpr int kFirstToolEntryId = 2100;

// The virtual key of a Tools entry's character on the keyboard.
WPARAM virtualKeyOf(char key) {
  switch (key) {
    case '[':
      return VK_OEM_4;
    case ']':
      return VK_OEM_6;
    case '-':
      return VK_OEM_MINUS;
    case '=':
      return VK_OEM_PLUS;
    default:
      return static_cast<WPARAM>(key);  // capital letters are their own key
  }
}

// Every control is a group of its own, so the arrow keys never move the
// focus between them as they would in a dialog.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_GROUP;

HWND createChild(HWND window, std::size_t index, DWORD exStyle, const wchar_t* windowClass,
                 DWORD style) {
  const shell::ControlDesign& design = kMainWindowControls[index];
  const std::wstring caption =
      design.caption != nullptr ? platform::utf8ToWide(design.caption) : std::wstring();
  return CreateWindowExW(exStyle, windowClass, caption.c_str(), kChild | style, 0, 0, 0, 0, window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(index))),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND createControl(HWND window, std::size_t index, MainWindowControls& c) {
  switch (kMainWindowControls[index].kind) {
    case ControlKind::Label:
      return createChild(window, index, 0, L"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX);
    case ControlKind::LineEdit: {
      HWND edit = createChild(window, index, WS_EX_CLIENTEDGE, L"EDIT",
                              WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL);
      SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // as long as the system allows
      return edit;
    }
    case ControlKind::Button:
      return createChild(window, index, 0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON);
    case ControlKind::CheckBox: {
      HWND box = createChild(window, index, 0, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
      SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
      return box;
    }
    case ControlKind::Editor:
      c.editor = std::make_unique<ScintillaControl>(window, controlId(index));
      SetWindowLongPtrW(c.editor->hwnd(), GWL_STYLE,
                        GetWindowLongPtrW(c.editor->hwnd(), GWL_STYLE) | WS_GROUP);
      return c.editor->hwnd();
  }
  return nullptr;
}

HWND createToolTips(HWND window, const MainWindowControls& c) {
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (kMainWindowControls[i].toolTip == nullptr) continue;
    std::wstring text = platform::utf8ToWide(kMainWindowControls[i].toolTip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(c.all[i]);
    tool.lpszText = text.data();  // copied by the control
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return tips;
}

}  // namespace

int controlId(std::size_t index) { return kFirstControlId + static_cast<int>(index); }

std::optional<std::size_t> controlIndexOfId(int id) {
  if (id < kFirstControlId || id >= controlId(kMainWindowControls.size())) return std::nullopt;
  return static_cast<std::size_t>(id - kFirstControlId);
}

int menuEntryId(std::size_t index) { return kFirstMenuEntryId + static_cast<int>(index); }

std::optional<std::size_t> menuEntryIndexOfId(int id) {
  if (id < kFirstMenuEntryId || id >= menuEntryId(kOptionsMenuEntries.size())) return std::nullopt;
  return static_cast<std::size_t>(id - kFirstMenuEntryId);
}

int toolEntryId(std::size_t index) { return kFirstToolEntryId + static_cast<int>(index); }

std::optional<std::size_t> toolEntryIndexOfId(int id) {
  if (id < kFirstToolEntryId || id >= toolEntryId(shell::kToolsMenuEntries.size()))
    return std::nullopt;
  return static_cast<std::size_t>(id - kFirstToolEntryId);
}

std::optional<std::size_t> toolEntryOfKey(WPARAM virtualKey, bool ctrl, bool shift, bool alt) {
  if (!ctrl || alt) return std::nullopt;  // Ctrl+Alt is AltGr on many keyboards: a character
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i) {
    const shell::ToolEntryDesign& entry = shell::kToolsMenuEntries[i];
    if (entry.shift == shift && virtualKeyOf(entry.key) == virtualKey) return i;
  }
  return std::nullopt;
}

MainWindowControls createMainWindowControls(HWND window, HFONT controlFont) {
  MainWindowControls c;
  const ControlPlaces places = designPlaces(windowDpi(window));
  // Created in the table's order, which makes it the tab order.
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    c.all[i] = createControl(window, i, c);
    const shell::PixelRect& p = places[i];
    SetWindowPos(c.all[i], nullptr, p.left, p.top, p.width, p.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The editor carries its own font (12 pt bold).
    if (kMainWindowControls[i].kind != ControlKind::Editor) useFont(c.all[i], controlFont);
  }
  c.toolTips = createToolTips(window, c);

  c.menuBar = CreateMenu();
  c.optionsMenu = CreatePopupMenu();
  for (std::size_t i = 0; i < kOptionsMenuEntries.size(); ++i) {
    AppendMenuW(c.optionsMenu, MF_STRING, static_cast<UINT_PTR>(menuEntryId(i)),
                platform::utf8ToWide(kOptionsMenuEntries[i].caption).c_str());
  }
  AppendMenuW(c.menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(c.optionsMenu),
              platform::utf8ToWide(shell::kOptionsMenuCaption).c_str());
  c.toolsMenu = CreatePopupMenu();
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i) {
    const shell::ToolEntryDesign& entry = shell::kToolsMenuEntries[i];
    const std::string text = std::string(entry.caption) + "\t" + shell::toolKeyText(entry);
    AppendMenuW(c.toolsMenu, MF_STRING, static_cast<UINT_PTR>(toolEntryId(i)),
                platform::utf8ToWide(text).c_str());
  }
  AppendMenuW(c.menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(c.toolsMenu),
              platform::utf8ToWide(shell::kToolsMenuCaption).c_str());
  SetMenu(window, c.menuBar);
  return c;
}

}  // namespace vantrel::win32
