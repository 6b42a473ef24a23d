#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A dialog template built in memory for DialogBoxIndirectParamW: a
// DLGTEMPLATE, then per item a DLGITEMTEMPLATE, each DWORD-aligned, with
// class and text as strings.
namespace vantrel::win32 {

// The predefined classes' atoms in a template.
inline constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

class TemplateWriter {
 public:
  void align() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  template <class T>
  void put(const T& value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof value);
  }
  void putText(const std::wstring& text) {
    for (wchar_t c : text) put(static_cast<WORD>(c));
    put(WORD{0});
  }
  // The dialog itself, with count items, in the "MS Shell Dlg" font of
  // 8 points; its title is set at WM_INITDIALOG.
  void dialog(DWORD style, short cx, short cy, WORD count) {
    DLGTEMPLATE header{};
    header.style = style | DS_SETFONT;
    header.cdit = count;
    header.cx = cx;
    header.cy = cy;
    put(header);
    put(WORD{0});  // no menu
    put(WORD{0});  // the standard dialog class
    putText(L"");
    put(WORD{8});  // font size, then face
    putText(L"MS Shell Dlg");
  }
  // An item of a predefined class.
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
            const std::wstring& text) {
    itemHeader(style, x, y, cx, cy, id);
    put(WORD{0xFFFF});
    put(atom);
    finishItem(text);
  }
  // An item of a class named by its registered name (a common control).
  void item(DWORD style, short x, short y, short cx, short cy, WORD id,
            const std::wstring& className, const std::wstring& text) {
    itemHeader(style, x, y, cx, cy, id);
    putText(className);
    finishItem(text);
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void itemHeader(DWORD style, short x, short y, short cx, short cy, WORD id) {
    align();
    DLGITEMTEMPLATE header{};
    header.style = style | WS_CHILD | WS_VISIBLE;
    header.x = x;
    header.y = y;
    header.cx = cx;
    header.cy = cy;
    header.id = id;
    put(header);
  }
  void finishItem(const std::wstring& text) {
    putText(text);
    put(WORD{0});  // no creation data
  }

  std::vector<std::uint8_t> bytes_;
};

}  // namespace vantrel::win32
