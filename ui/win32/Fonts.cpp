#include "ui/win32/Fonts.h"

#include <cwchar>

#include "ui/win32/Twips.h"

namespace vantrel::win32 {

UniqueFont makeFont(const wchar_t* face, double points, bool bold, unsigned dpi) {
  LOGFONTW font{};
  font.lfHeight = fontHeightForPoints(points, dpi);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  // Where the face is missing the system takes a sans-serif one of that size.
  font.lfPitchAndFamily =
      VARIABLE_PITCH | (std::wcscmp(face, kSerifFace) == 0 ? FF_ROMAN : FF_SWISS);
  wcsncpy_s(font.lfFaceName, face, _TRUNCATE);
  return UniqueFont(CreateFontIndirectW(&font));
}

void useFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace vantrel::win32
