#include "ui/qt/Form1Controls.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "ui/qt/QtEditorControl.h"
#include "ui/qt/Twips.h"

namespace vantrel::qt {

namespace {

using shell::ControlKind;
using shell::kMainWindowControls;
using shell::kOptionsMenuEntries;

QFont controlFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);  // where that font is missing
  font.setPointSizeF(8.25);
  return font;
}

QWidget* createControl(const shell::ControlDesign& design, QWidget& client) {
  const QString caption = design.caption ? QString::fromLatin1(design.caption) : QString();
  switch (design.kind) {
    case ControlKind::Label:
      return new QLabel(caption, &client);
    case ControlKind::LineEdit:
      return new QLineEdit(&client);
    case ControlKind::Button:
      return new QPushButton(caption, &client);
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(caption, &client);
      box->setChecked(true);
      return box;
    }
    case ControlKind::Editor:
      return new QtEditorControl(&client);
  }
  return nullptr;
}

// The control of the row with this name, as its widget type; the name is
// checked at compile time.
template <std::size_t Index, typename T>
T* at(const Form1Controls& c) {
  static_assert(Index < kMainWindowControls.size(), "no control of that name in the table");
  return static_cast<T*>(c.all[Index]);
}

// The editor's standard command bound to key no longer answers to it.
void releaseEditorKey(QsciScintilla& editor, const QKeySequence& key) {
  if (key.isEmpty()) return;
  const int code = key[0].toCombined();
  QsciCommand* command = editor.standardCommands()->boundTo(code);
  if (command == nullptr) return;
  if (command->key() == code) command->setKey(0);
  if (command->alternateKey() == code) command->setAlternateKey(0);
}

#define VANTREL_CONTROL(type, name) c.name = at<shell::controlIndex(#name), type>(c)

}  // namespace

Form1Controls buildForm1Controls(QMainWindow& window, QWidget& client) {
  Form1Controls c;
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    const shell::ControlDesign& design = kMainWindowControls[i];
    QWidget* control = createControl(design, client);
    control->setObjectName(QString::fromLatin1(design.name));
    control->setGeometry(twipsToPixels(design.left, &client), twipsToPixels(design.top, &client),
                         twipsToPixels(design.width, &client),
                         twipsToPixels(design.height, &client));
    // The editor carries its own font (12 pt bold), also across colouring.
    if (design.kind != ControlKind::Editor) control->setFont(controlFont());
    if (design.toolTip) control->setToolTip(QString::fromLatin1(design.toolTip));
    if (control->focusPolicy() != Qt::NoFocus) {
      if (previous) QWidget::setTabOrder(previous, control);
      previous = control;
    }
    c.all[i] = control;
  }

  VANTREL_CONTROL(QLabel, Label1);
  VANTREL_CONTROL(QLineEdit, Text1);
  VANTREL_CONTROL(QLineEdit, Text2);
  VANTREL_CONTROL(QLineEdit, Text3);
  VANTREL_CONTROL(QPushButton, Command1);
  VANTREL_CONTROL(QPushButton, Command2);
  VANTREL_CONTROL(QPushButton, Command3);
  VANTREL_CONTROL(QPushButton, Command4);
  VANTREL_CONTROL(QPushButton, Command5);
  VANTREL_CONTROL(QPushButton, Command6);
  VANTREL_CONTROL(QPushButton, Command7);
  VANTREL_CONTROL(QPushButton, Command8);
  VANTREL_CONTROL(QPushButton, Command9);
  VANTREL_CONTROL(QPushButton, Command10);
  VANTREL_CONTROL(QPushButton, Command11);
  VANTREL_CONTROL(QCheckBox, Check1);
  VANTREL_CONTROL(QtEditorControl, RichTextBox1);

  c.mnuOpt = window.menuBar()->addMenu(QString::fromLatin1(shell::kOptionsMenuCaption));
  c.mnuOpt->setObjectName(QString::fromLatin1(shell::kOptionsMenuName));
  for (std::size_t i = 0; i < kOptionsMenuEntries.size(); ++i) {
    c.menuEntries[i] = c.mnuOpt->addAction(QString::fromLatin1(kOptionsMenuEntries[i].caption));
    c.menuEntries[i]->setObjectName(QString::fromLatin1(kOptionsMenuEntries[i].name));
  }
  c.mnuIRF = c.menuEntries[0];
  c.mnuCTF = c.menuEntries[1];
  c.mnuExit = c.menuEntries[2];

  c.mnuTools = window.menuBar()->addMenu(QString::fromLatin1(shell::kToolsMenuCaption));
  c.mnuTools->setObjectName(QString::fromLatin1(shell::kToolsMenuName));
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i) {
    const shell::ToolEntryDesign& entry = shell::kToolsMenuEntries[i];
    c.toolEntries[i] = c.mnuTools->addAction(QString::fromLatin1(entry.caption));
    c.toolEntries[i]->setObjectName(QString::fromLatin1(entry.name));
    c.toolEntries[i]->setShortcut(QKeySequence(QString::fromStdString(shell::toolKeyText(entry))));
    // The keys work while the editor has the focus too: the editor gives
    // up its own binding of them (Ctrl+T swaps lines there), which would
    // otherwise take the key first.
    c.toolEntries[i]->setShortcutContext(Qt::WindowShortcut);
    releaseEditorKey(*c.RichTextBox1, c.toolEntries[i]->shortcut());
  }
  return c;
}

}  // namespace vantrel::qt
