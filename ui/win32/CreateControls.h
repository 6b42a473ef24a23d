#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "shell/MainWindowControls.h"
#include "shell/ToolsMenu.h"
#include "ui/win32/ScintillaControl.h"

// Creates the main window's Win32 controls and menu from the toolkit-free
// design table (shell/MainWindowControls.h): `all` holds them in the table's
// order (the editor too), which is also their tab order; each has the
// control id controlId(index).
namespace vantrel::win32 {

struct MainWindowControls {
  std::array<HWND, shell::kMainWindowControls.size()> all{};
  std::unique_ptr<ScintillaControl> editor;
  HWND toolTips = nullptr;
  HMENU menuBar = nullptr;
  HMENU optionsMenu = nullptr;
  HMENU toolsMenu = nullptr;

  HWND operator[](std::size_t index) const { return all[index]; }
};

int controlId(std::size_t index);
std::optional<std::size_t> controlIndexOfId(int id);
int menuEntryId(std::size_t index);
std::optional<std::size_t> menuEntryIndexOfId(int id);
int toolEntryId(std::size_t index);
std::optional<std::size_t> toolEntryIndexOfId(int id);
// The Tools entry whose key a WM_KEYDOWN of virtualKey is, with the Ctrl
// and Shift states given (Alt up); nullopt when none.
std::optional<std::size_t> toolEntryOfKey(WPARAM virtualKey, bool ctrl, bool shift, bool alt);

// Creates every control on window at its design place (captions, tooltips,
// font, the check box ticked) and the "Options" menu.
MainWindowControls createMainWindowControls(HWND window, HFONT controlFont);

}  // namespace vantrel::win32
