#pragma once
#include <windows.h>

#include "platform/window/TextField.h"

// A one-line EDIT control as the core's text field: UTF-8 in and out.
namespace vantrel::win32 {

class EditField : public platform::TextField {
 public:
  explicit EditField(HWND edit = nullptr) : edit_(edit) {}
  std::string text() const override;
  void setText(std::string_view text) override;

 private:
  HWND edit_;
};

// The whole text of any window (a control's caption or content), UTF-8.
std::string windowText(HWND window);

}  // namespace vantrel::win32
