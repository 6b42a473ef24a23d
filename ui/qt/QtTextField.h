#pragma once
#include "platform/window/TextField.h"

class QLineEdit;

namespace vantrel::qt {

// A QLineEdit as the core's text field.
class QtTextField : public platform::TextField {
 public:
  explicit QtTextField(QLineEdit* box = nullptr) : box_(box) {}
  std::string text() const override;
  void setText(std::string_view text) override;

 private:
  QLineEdit* box_;
};

}  // namespace vantrel::qt
