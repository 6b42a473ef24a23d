#pragma once
#include <windows.h>

#include <memory>

#include "platform/editor/Editor.h"

// The editor control of the Windows window: Scintilla's own Win32 control,
// driven by the core's Editor through Scintilla's direct function. This
// class only creates the control, gives it the window's font (MS Sans Serif
// 12 pt bold) and colours, switches Lexilla's XML lexer on and off when the
// Editor asks, and shows the busy cursor over it.
//
// Scintilla tells its parent through WM_NOTIFY when the text leaves or
// regains its saved state (SCN_SAVEPOINTLEFT, SCN_SAVEPOINTREACHED) and
// when the view changes (SCN_UPDATEUI) or a margin is clicked
// (SCN_MARGINCLICK); the parent passes each notice on to notified().
namespace vantrel::win32 {

class ScintillaControl {
 public:
  // Scintilla_RegisterClasses must have run (startWindows does it).
  ScintillaControl(HWND parent, int id);
  ~ScintillaControl();
  ScintillaControl(const ScintillaControl&) = delete;
  ScintillaControl& operator=(const ScintillaControl&) = delete;

  HWND hwnd() const { return hwnd_; }
  platform::Editor& editor() { return *editor_; }
  const platform::Editor& editor() const { return *editor_; }

  // A WM_NOTIFY the parent received from this control: the editor hears of
  // each change of the view (line-number margin, colour of the text in view).
  void notified(const NMHDR& header);

  // The parent is being destroyed, and the control with it.
  void windowDestroyed() { hwnd_ = nullptr; }

  // The wait cursor over the text while a conversion runs.
  void showBusyCursor(bool busy);

  // The font's size and weight as the control draws them.
  int fontPoints() const;
  bool fontBold() const;

 private:
  std::intptr_t send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;
  void setUpLook();
  void useXmlColouring();

  HWND hwnd_ = nullptr;
  std::unique_ptr<platform::Editor> editor_;
};

}  // namespace vantrel::win32
