#include "ui/qt/EnterPressesButton.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

namespace vantrel::qt {

void EnterPressesButton::install(QLineEdit* box, QAbstractButton* button) {
  box->installEventFilter(new EnterPressesButton(box, button));
}

EnterPressesButton::EnterPressesButton(QLineEdit* box, QAbstractButton* button)
    : QObject(box), box_(box), button_(button) {}

bool EnterPressesButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched == box_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // click(), not animateClick(): the handler must have run when the key
    // handling returns. A disabled button ignores the click.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !box_->text().isEmpty()) {
      button_->click();
    }
  }
  return false;  // the box handles the key as it always does
}

}  // namespace vantrel::qt
