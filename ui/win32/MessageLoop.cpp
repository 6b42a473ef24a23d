#include "ui/win32/MessageLoop.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace vantrel::win32 {

namespace {

std::map<HWND, std::function<bool(MSG&)>>& dialogWindows() {
  static std::map<HWND, std::function<bool(MSG&)>> windows;
  return windows;
}

}  // namespace

void registerDialogWindow(HWND window, std::function<bool(MSG&)> hook) {
  dialogWindows()[window] = std::move(hook);
}

void unregisterDialogWindow(HWND window) { dialogWindows().erase(window); }

void routeMessage(MSG& message) {
  if (message.hwnd != nullptr) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    const auto found = dialogWindows().find(root);
    if (found != dialogWindows().end()) {
      // A copy: the hook may close the window, which unregisters it.
      const std::function<bool(MSG&)> hook = found->second;
      if (hook && hook(message)) return;
      if (IsWindow(root) && IsDialogMessageW(root, &message)) return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void pumpPendingMessages() {
  // A timer is handed out only once nothing else waits, and it is due
  // again whenever its handler outlasts its period: Scintilla's background
  // colouring, 20 ms of work on a 10 ms timer, would keep this loop going
  // until the whole document is coloured (12 to 20 s for 500 MB under
  // Wine, and a Save .bin waiting that long to end). So each timer is
  // handled once per call; one due again ends the call, and its next tick
  // comes with the next call.
  std::vector<std::pair<HWND, WPARAM>> timersHandled;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (message.message == WM_TIMER) {
      const std::pair timer{message.hwnd, message.wParam};
      if (std::find(timersHandled.begin(), timersHandled.end(), timer) != timersHandled.end())
        return;
      timersHandled.push_back(timer);
    }
    routeMessage(message);
  }
}

int runMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    routeMessage(message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace vantrel::win32
