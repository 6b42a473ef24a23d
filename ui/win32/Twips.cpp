#include "ui/win32/Twips.h"

#include <cmath>

#include "shell/Twips.h"

namespace vantrel::win32 {

namespace {
constexpr double kPointsPerInch = 72.0;
}  // namespace

namespace {

// The functions of Windows 10 (1607) are looked up when the program runs, so
// that it still starts where they are missing.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

unsigned systemDpi() {
  static const auto getDpiForSystem = user32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  if (getDpiForSystem != nullptr) return getDpiForSystem();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : kDefaultDpi;
}

}  // namespace

unsigned windowDpi(HWND window) {
  static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const unsigned dpi =
      window != nullptr && getDpiForWindow != nullptr ? getDpiForWindow(window) : systemDpi();
  return dpi != 0 ? dpi : kDefaultDpi;
}

void adjustOuterRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, unsigned dpi) {
  static const auto adjustForDpi =
      user32Function<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    adjustForDpi(&rect, style, menu ? TRUE : FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, exStyle);
  }
}

double twipsPerPixel(unsigned dpi) { return shell::twipsPerPixel(dpi); }

int twipsToPixels(double twips, unsigned dpi) {
  return shell::twipsToPixels(twips, twipsPerPixel(dpi));
}

double pixelsToTwips(int pixels, unsigned dpi) { return pixels * twipsPerPixel(dpi); }

int fontHeightForPoints(double points, unsigned dpi) {
  return -static_cast<int>(std::lround(points * (dpi != 0 ? dpi : kDefaultDpi) / kPointsPerInch));
}

}  // namespace vantrel::win32
