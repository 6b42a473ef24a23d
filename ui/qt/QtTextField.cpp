#include "ui/qt/QtTextField.h"

#include <QLineEdit>

#include "ui/qt/QtText.h"

namespace vantrel::qt {

std::string QtTextField::text() const { return toUtf8(box_->text()); }

void QtTextField::setText(std::string_view text) { box_->setText(fromUtf8(text)); }

}  // namespace vantrel::qt
