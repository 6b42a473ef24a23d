#pragma once

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

namespace vantrel::platform {
class Editor;
}

namespace vantrel::shell {

// The main window's controls and menu, named as in the design table.
struct Form1Controls {
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command4 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command6 = nullptr;
  QPushButton* Command7 = nullptr;
  QPushButton* Command8 = nullptr;
  QPushButton* Command9 = nullptr;
  QPushButton* Command10 = nullptr;
  QPushButton* Command11 = nullptr;
  QCheckBox* Check1 = nullptr;
  platform::Editor* RichTextBox1 = nullptr;
  QMenu* mnuOpt = nullptr;
  QAction* mnuIRF = nullptr;
  QAction* mnuCTF = nullptr;
  QAction* mnuExit = nullptr;
};

// Creates every control of the design table on client (captions, fonts,
// design places converted from twips, tooltips, tab order) and the
// "Options" menu in window's menu bar.
Form1Controls buildForm1Controls(QMainWindow& window, QWidget& client);

}  // namespace vantrel::shell
