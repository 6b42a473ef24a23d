#include "ui/win32/NumberDialog.h"

#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/core/WideText.h"

namespace vantrel::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kFieldId = 101;

struct Request {
  std::wstring title, prompt;
  long minimum, maximum, value;
  std::optional<long> answer;
};

// A dialog template built in memory: DLGTEMPLATE, then per item a
// DLGITEMTEMPLATE, each DWORD-aligned, with class and text as strings.
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
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
            const std::wstring& text) {
    align();
    DLGITEMTEMPLATE header{};
    header.style = style | WS_CHILD | WS_VISIBLE;
    header.x = x;
    header.y = y;
    header.cx = cx;
    header.cy = cy;
    header.id = id;
    put(header);
    put(WORD{0xFFFF});
    put(atom);
    putText(text);
    put(WORD{0});  // no creation data
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  std::vector<std::uint8_t> bytes_;
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

INT_PTR CALLBACK numberProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* request = reinterpret_cast<Request*>(GetWindowLongPtrW(box, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      request = reinterpret_cast<Request*>(lParam);
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      SetWindowTextW(box, request->title.c_str());
      SetDlgItemTextW(box, kPromptId, request->prompt.c_str());
      SetDlgItemTextW(box, kFieldId, std::to_wstring(request->value).c_str());
      const HWND field = GetDlgItem(box, kFieldId);
      SendMessageW(field, EM_SETSEL, 0, -1);
      SetFocus(field);
      return FALSE;  // the focus was set here
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        wchar_t text[32] = {};
        GetDlgItemTextW(box, kFieldId, text, 32);
        wchar_t* end = nullptr;
        const long number = std::wcstol(text, &end, 10);
        if (end == text || *end != 0 || number < request->minimum || number > request->maximum) {
          const std::wstring why = L"Type a number from " + std::to_wstring(request->minimum) +
                                   L" to " + std::to_wstring(request->maximum) + L".";
          MessageBoxW(box, why.c_str(), request->title.c_str(), MB_OK | MB_ICONWARNING);
          SetFocus(GetDlgItem(box, kFieldId));
          return TRUE;
        }
        request->answer = number;
        EndDialog(box, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<long> askNumberBox(HWND owner, const std::string& title, const std::string& prompt,
                                 long minimum, long maximum, long value) {
  Request request{platform::utf8ToWide(title),
                  platform::utf8ToWide(prompt),
                  minimum,
                  maximum,
                  value,
                  std::nullopt};
  TemplateWriter t;
  DLGTEMPLATE header{};
  header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  header.cdit = 4;
  header.cx = 180;
  header.cy = 62;
  t.put(header);
  t.put(WORD{0});  // no menu
  t.put(WORD{0});  // the standard dialog class
  t.putText(L"");  // the title is set at WM_INITDIALOG
  t.put(WORD{8});  // font size, then face
  t.putText(L"MS Shell Dlg");
  t.item(SS_LEFT, 7, 7, 166, 10, kPromptId, kStaticAtom, L"");
  t.item(WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 7, 20, 166, 12, kFieldId, kEditAtom,
         L"");
  t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 69, 40, 50, 14, IDOK, kButtonAtom, L"OK");
  t.item(BS_PUSHBUTTON | WS_TABSTOP, 123, 40, 50, 14, IDCANCEL, kButtonAtom, L"Cancel");
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.data(), owner, numberProc,
                          reinterpret_cast<LPARAM>(&request));
  return request.answer;
}

}  // namespace vantrel::win32
