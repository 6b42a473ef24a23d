#include "ui/win32/Application.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "Scintilla.h"
#include "platform/core/MessagePump.h"
#include "ui/win32/MessageLoop.h"

namespace vantrel::win32 {

void startWindows() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    return Scintilla_RegisterClasses(GetModuleHandleW(nullptr)) != 0;
  }();
  (void)registered;
  platform::setMessagePump(pumpPendingMessages);
}

void stopWindows() { platform::setMessagePump({}); }

}  // namespace vantrel::win32
