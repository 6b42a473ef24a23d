#pragma once
#include <QObject>

class QAbstractButton;
class QLineEdit;

namespace vantrel::qt {

// Enter (main or keypad, any Shift/Ctrl/Alt state) in a non-empty text box
// presses a button programmatically: its click handler runs at once, inside
// the key handling, and the focus stays in the box. Owned by the box.
class EnterPressesButton : public QObject {
  Q_OBJECT
 public:
  static void install(QLineEdit* box, QAbstractButton* button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  EnterPressesButton(QLineEdit* box, QAbstractButton* button);
  QLineEdit* box_;
  QAbstractButton* button_;
};

}  // namespace vantrel::qt
