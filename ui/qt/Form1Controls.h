#pragma once
#include <array>
#include <cstddef>

#include "shell/MainWindowControls.h"
#include "shell/ToolsMenu.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

namespace vantrel::qt {

class QtEditorControl;

// The main window's controls and menu. `all` holds them in the order of the
// design table; the named members point at the same widgets for code that
// reads one of them.
struct Form1Controls {
  std::array<QWidget*, shell::kMainWindowControls.size()> all{};
  std::array<QAction*, shell::kOptionsMenuEntries.size()> menuEntries{};
  std::array<QAction*, shell::kToolsMenuEntries.size()> toolEntries{};

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
  QtEditorControl* RichTextBox1 = nullptr;
  QMenu* mnuOpt = nullptr;
  QAction* mnuIRF = nullptr;
  QAction* mnuCTF = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuTools = nullptr;
};

// Creates every control of the design table on client (captions, fonts,
// design places converted from twips, tooltips, tab order) and the
// "Options" menu in window's menu bar.
Form1Controls buildForm1Controls(QMainWindow& window, QWidget& client);

}  // namespace vantrel::qt
