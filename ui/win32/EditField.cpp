#include "ui/win32/EditField.h"

#include <string>

#include "platform/core/WideText.h"

namespace vantrel::win32 {

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return platform::wideToUtf8(text);
}

std::string EditField::text() const { return windowText(edit_); }

void EditField::setText(std::string_view text) {
  SetWindowTextW(edit_, platform::utf8ToWide(text).c_str());
}

}  // namespace vantrel::win32
