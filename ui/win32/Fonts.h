#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// The fonts of the windows, made for one DPI. A font is a GDI object that
// lives as long as its owner; controls only borrow it through WM_SETFONT.
namespace vantrel::win32 {

struct FontDeleter {
  void operator()(HFONT font) const {
    if (font != nullptr) DeleteObject(font);
  }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

inline constexpr const wchar_t* kSansSerifFace = L"MS Sans Serif";
inline constexpr const wchar_t* kSerifFace = L"MS Serif";
// The controls' font: MS Sans Serif 8.25 pt.
inline constexpr double kControlFontPoints = 8.25;

UniqueFont makeFont(const wchar_t* face, double points, bool bold, unsigned dpi);

// Gives a control the font and repaints it.
void useFont(HWND control, HFONT font);

}  // namespace vantrel::win32
