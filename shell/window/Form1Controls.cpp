#include "shell/window/Form1Controls.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "platform/editor/Editor.h"
#include "platform/ui/Twips.h"
#include "shell/window/MainWindowControls.h"

namespace vantrel::shell {

namespace {

QFont controlFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);  // where that font is missing
  font.setPointSizeF(8.25);
  return font;
}

QWidget* createControl(const ControlDesign& design, QWidget& client) {
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
      return new platform::Editor(&client);
  }
  return nullptr;
}

template <typename T>
T* named(QWidget& client, const char* name) {
  return client.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

}  // namespace

Form1Controls buildForm1Controls(QMainWindow& window, QWidget& client) {
  QWidget* previous = nullptr;
  for (const ControlDesign& design : kMainWindowControls) {
    QWidget* control = createControl(design, client);
    control->setObjectName(QString::fromLatin1(design.name));
    control->setGeometry(platform::twipsToPixels(design.left, &client),
                         platform::twipsToPixels(design.top, &client),
                         platform::twipsToPixels(design.width, &client),
                         platform::twipsToPixels(design.height, &client));
    // The editor carries its own font (12 pt bold), also across colouring.
    if (design.kind != ControlKind::Editor) control->setFont(controlFont());
    if (design.toolTip) control->setToolTip(QString::fromLatin1(design.toolTip));
    if (control->focusPolicy() != Qt::NoFocus) {
      if (previous) QWidget::setTabOrder(previous, control);
      previous = control;
    }
  }

  Form1Controls c;
  c.Label1 = named<QLabel>(client, "Label1");
  c.Text1 = named<QLineEdit>(client, "Text1");
  c.Text2 = named<QLineEdit>(client, "Text2");
  c.Text3 = named<QLineEdit>(client, "Text3");
  c.Command1 = named<QPushButton>(client, "Command1");
  c.Command2 = named<QPushButton>(client, "Command2");
  c.Command3 = named<QPushButton>(client, "Command3");
  c.Command4 = named<QPushButton>(client, "Command4");
  c.Command5 = named<QPushButton>(client, "Command5");
  c.Command6 = named<QPushButton>(client, "Command6");
  c.Command7 = named<QPushButton>(client, "Command7");
  c.Command8 = named<QPushButton>(client, "Command8");
  c.Command9 = named<QPushButton>(client, "Command9");
  c.Command10 = named<QPushButton>(client, "Command10");
  c.Command11 = named<QPushButton>(client, "Command11");
  c.Check1 = named<QCheckBox>(client, "Check1");
  c.RichTextBox1 = named<platform::Editor>(client, "RichTextBox1");

  c.mnuOpt = window.menuBar()->addMenu(QString::fromLatin1(kOptionsMenuCaption));
  c.mnuOpt->setObjectName(QString::fromLatin1(kOptionsMenuName));
  QAction* entries[3] = {};
  for (std::size_t i = 0; i < kOptionsMenuEntries.size(); ++i) {
    entries[i] = c.mnuOpt->addAction(QString::fromLatin1(kOptionsMenuEntries[i].caption));
    entries[i]->setObjectName(QString::fromLatin1(kOptionsMenuEntries[i].name));
  }
  c.mnuIRF = entries[0];
  c.mnuCTF = entries[1];
  c.mnuExit = entries[2];
  return c;
}

}  // namespace vantrel::shell
