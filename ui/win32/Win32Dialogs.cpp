#include "ui/win32/Win32Dialogs.h"

#include "ui/win32/MemberPickerDialog.h"
#include "ui/win32/NumberDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/core/WideText.h"
#include "shell/AppIdentity.h"

namespace vantrel::win32 {

namespace {

// Long enough for any path the file system takes.
constexpr DWORD kPathBufferLength = 32768;

}  // namespace

std::wstring applicationCaption() { return platform::utf8ToWide(shell::kApplicationTitle); }

std::wstring fileDialogFilter(std::string_view pipeSeparated) {
  std::wstring filter = platform::utf8ToWide(pipeSeparated);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  filter.push_back(L'\0');  // the list's end (std::wstring adds a third)
  return filter;
}

std::string Win32Dialogs::chooseFile(const platform::FileDialogRequest& request) {
  const std::wstring filter = fileDialogFilter(request.filter);
  const std::wstring title = platform::utf8ToWide(request.title);
  const std::wstring start = platform::utf8ToWide(request.startFolder);
  std::vector<wchar_t> path(kPathBufferLength, L'\0');
  // The name filled in, when it fits the buffer with its terminator.
  const std::wstring name = platform::utf8ToWide(request.fileName);
  if (request.save && name.size() < path.size()) std::copy(name.begin(), name.end(), path.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathBufferLength;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  BOOL chosen = FALSE;
  if (request.save) {
    chosen = GetSaveFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&dialog);
  }
  return chosen ? platform::wideToUtf8(path.data()) : std::string();
}

void Win32Dialogs::message(const std::string& text, platform::MessageIcon icon) {
  UINT style = MB_OK;
  switch (icon) {
    case platform::MessageIcon::Stop:
      style |= MB_ICONSTOP;
      break;
    case platform::MessageIcon::Warning:
      style |= MB_ICONEXCLAMATION;
      break;
    case platform::MessageIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
  }
  MessageBoxW(owner_, platform::utf8ToWide(text).c_str(), applicationCaption().c_str(), style);
}

platform::Answer Win32Dialogs::ask(const std::string& text, bool withCancel) {
  const UINT style = MB_ICONQUESTION | (withCancel ? MB_YESNOCANCEL : MB_YESNO);
  switch (MessageBoxW(owner_, platform::utf8ToWide(text).c_str(), applicationCaption().c_str(),
                      style)) {
    case IDYES:
      return platform::Answer::Yes;
    case IDNO:
      return platform::Answer::No;
    default:
      return withCancel ? platform::Answer::Cancel : platform::Answer::No;
  }
}

std::optional<long> Win32Dialogs::askNumber(const std::string& title, const std::string& prompt,
                                            long minimum, long maximum, long value) {
  return askNumberBox(owner_, title, prompt, minimum, maximum, value);
}

bool Win32Dialogs::pickMember(const std::string& title, archive::MemberPicker& picker) {
  return pickMemberBox(owner_, title, picker);
}

}  // namespace vantrel::win32
