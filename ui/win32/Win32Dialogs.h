#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/window/Dialogs.h"

// The dialogs seam on Windows: the common Open and Save dialogs, message
// boxes and boxes of our own (a number, a packed file's member), owned by
// one window, with the application title as caption.
namespace vantrel::win32 {

class Win32Dialogs : public platform::Dialogs {
 public:
  explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
  void setOwner(HWND owner) { owner_ = owner; }

  // Open: the file must exist. Save: an existing file is replaced without
  // asking, and the name is used as typed (no extension is added). Neither
  // changes the current folder.
  std::string chooseFile(const platform::FileDialogRequest& request) override;
  void message(const std::string& text, platform::MessageIcon icon) override;
  platform::Answer ask(const std::string& text, bool withCancel) override;
  std::optional<long> askNumber(const std::string& title, const std::string& prompt, long minimum,
                                long maximum, long value) override;
  bool pickMember(const std::string& title, archive::MemberPicker& picker) override;

 private:
  HWND owner_;
};

// The application title, every message box's caption.
std::wstring applicationCaption();

// "Description|pattern|..." as the dialog takes it: each part ends in a
// NUL, and one more NUL ends the list.
std::wstring fileDialogFilter(std::string_view pipeSeparated);

}  // namespace vantrel::win32
