#pragma once
#include "platform/window/Dialogs.h"

class QWidget;

namespace vantrel::qt {

// Qt's file dialogs and message boxes, parented to one window, with the
// application title as every box's caption.
class QtDialogs : public platform::Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  std::string chooseFile(const platform::FileDialogRequest& request) override;
  void message(const std::string& text, platform::MessageIcon icon) override;
  platform::Answer ask(const std::string& text, bool withCancel) override;
  std::optional<long> askNumber(const std::string& title, const std::string& prompt, long minimum,
                                long maximum, long value) override;
  bool pickMember(const std::string& title, archive::MemberPicker& picker) override;

 private:
  QWidget* parent_;
};

}  // namespace vantrel::qt
