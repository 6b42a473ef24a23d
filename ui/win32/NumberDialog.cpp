#include "ui/win32/NumberDialog.h"

#include <cwchar>

#include "platform/core/WideText.h"
#include "ui/win32/DialogTemplate.h"

namespace vantrel::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kFieldId = 101;

struct Request {
  std::wstring title, prompt;
  long minimum, maximum, value;
  std::optional<long> answer;
};

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
  t.dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 180, 62, 4);
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
