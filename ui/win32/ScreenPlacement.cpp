#include "ui/win32/ScreenPlacement.h"

namespace vantrel::win32 {

namespace {

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<std::vector<shell::PixelRect>*>(areas)->push_back(toPixelRect(info.rcWork));
  return TRUE;
}

}  // namespace

shell::PixelRect toPixelRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<shell::PixelRect> screenWorkAreas() {
  std::vector<shell::PixelRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

shell::PixelRect normalFrame(HWND window) {
  RECT frame{};
  if (!IsIconic(window) && !IsZoomed(window)) {
    GetWindowRect(window, &frame);
    return toPixelRect(frame);
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  // The normal place is given in work-area coordinates: shift it by where
  // the monitor's work area begins.
  frame = placement.rcNormalPosition;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &info))
    OffsetRect(&frame, info.rcWork.left - info.rcMonitor.left,
               info.rcWork.top - info.rcMonitor.top);
  return toPixelRect(frame);
}

}  // namespace vantrel::win32
