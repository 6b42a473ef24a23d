// The main window's controls: names, captions, tooltips, tab order, start
// state, access keys, menu, Exit, and what the busy state disables.
#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "GuiFixture.h"
#include "ui/qt/QtEditorControl.h"

namespace vantrel::testing {
namespace {

using MainWindowControls = GuiFixture;

struct ExpectedControl {
  const char* name;
  const char* caption;  // "" for none
  const char* toolTip;  // "" for none
};

// In tab order, starting from the focus the window opens with.
const ExpectedControl kExpected[] = {
    {"Text1", "", ""},
    {"Command1", ".....", "Browse for a .bin file to check/modify."},
    {"RichTextBox1", "", ""},
    {"Command2", "&Exit", "Close the editor"},
    {"Command3", "&Save .bin",
     "Saves the xml file from the editor and converts it to .bin replacing original."},
    {"Text2", "", ""},
    {"Command4", "Find",
     "Find the word in the top box, keep clicking to cycle through all instances"},
    {"Text3", "", ""},
    {"Command5", "Replace", "Replace selected word with the one in replace box"},
    {"Command6", "Replace All",
     "Replaces all instances of top string with the one in the bottom box."},
    {"Check1", "Whole Word only", ""},
    {"Command7", "Clear", "Clears screen and deletes .xml from TempFiles"},
    {"Command8", "Save As", "Saves the modified .xml from editor but does no conversion."},
    {"Command9", "View other Vantrel files",
     "Converts some Vantrel files to .xml and displays in editor."},
    {"Command10", "Convert to DDS", ""},
    {"Command11", "View DDS", ""},
};

// Moves the focus as Tab does, also out of the editor (where Tab types a tab).
struct FocusMover : QWidget {
  using QWidget::focusNextPrevChild;
};

QString focusedControl(const qt::Form1& window) {
  QWidget* w = window.focusWidget();
  while (w && w->parentWidget() && w->parentWidget() != window.centralWidget()) {
    w = w->parentWidget();  // the editor's viewport counts as the editor
  }
  return w ? w->objectName() : QStringLiteral("<none>");
}

TEST_F(MainWindowControls, StartEmptyInThePathBoxAndTabVisitsEveryControlInTheTable) {
  auto window = showMainWindow();
  QApplication::setActiveWindow(window.get());
  const auto& c = window->controls();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vantrel bin file editor and texture viewer"));
  const auto* label = window->findChild<QLabel*>(QStringLiteral("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("Open .bin file"));
  EXPECT_TRUE(label->toolTip().isEmpty());
  EXPECT_TRUE(c.Text1->text().isEmpty() && c.Text2->text().isEmpty() && c.Text3->text().isEmpty());
  EXPECT_EQ(c.RichTextBox1->editor().length(), 0);
  EXPECT_TRUE(c.Check1->isChecked());

  QStringList visited, expected;
  for (const ExpectedControl& e : kExpected) {
    SCOPED_TRACE(e.name);
    visited << focusedControl(*window);
    expected << QString::fromLatin1(e.name);
    const auto* w = window->findChild<QWidget*>(QString::fromLatin1(e.name));
    ASSERT_NE(w, nullptr);
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    EXPECT_EQ(button ? button->text() : QString(), QString::fromLatin1(e.caption));
    EXPECT_EQ(w->toolTip(), QString::fromLatin1(e.toolTip));
    (window.get()->*(&FocusMover::focusNextPrevChild))(true);
  }
  visited << focusedControl(*window);
  expected << QStringLiteral("Text1");  // and round again, never through the label
  EXPECT_EQ(visited.join(' ').toStdString(), expected.join(' ').toStdString());

  // Tab types a tab in the editor; Ctrl+Tab leaves it, Ctrl+Shift+Tab goes back.
  c.RichTextBox1->setFocus();
  QTest::keyClick(c.RichTextBox1, Qt::Key_Tab);
  EXPECT_EQ(c.RichTextBox1->editor().bytes(), "\t");
  QTest::keyClick(c.RichTextBox1, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(focusedControl(*window).toStdString(), "Command2");
  c.RichTextBox1->setFocus();
  QTest::keyClick(c.RichTextBox1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(focusedControl(*window).toStdString(), "Command1");
  EXPECT_EQ(c.RichTextBox1->editor().bytes(), "\t");
}

TEST_F(MainWindowControls, AccessKeysMenuAndEditorFont) {
  auto window = showMainWindow();
  const auto& c = window->controls();
  EXPECT_EQ(c.Command3->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
  EXPECT_EQ(c.Command2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_E));
  EXPECT_EQ(c.mnuOpt->objectName() + '=' + c.mnuOpt->title(), QStringLiteral("mnuOpt=Options"));
  QStringList entries;
  for (const QAction* a : c.mnuOpt->actions()) entries << a->objectName() + '=' + a->text();
  EXPECT_EQ(entries.join(' ').toStdString(),
            "mnuIRF=Texture Editor Path mnuCTF=Clear Temp Files mnuExit=&Exit");
  // The text itself is drawn 12 pt bold (QScintilla keeps a Qt weight negated).
  const long style = QsciScintilla::STYLE_DEFAULT;
  EXPECT_EQ(c.RichTextBox1->SendScintilla(QsciScintilla::SCI_STYLEGETSIZE, style), 12);
  EXPECT_GE(std::abs(c.RichTextBox1->SendScintilla(QsciScintilla::SCI_STYLEGETWEIGHT, style)), 700);
}

TEST_F(MainWindowControls, ExitButtonAndMenuEntryCloseAndSaveButKeepTheWorkingFiles) {
  fs::create_directory(workingFolder());
  writeFile(workingFolder() / "kept.xml", "x");
  for (const bool byMenu : {false, true}) {
    fs::remove(preferences());
    auto window = showMainWindow();
    byMenu ? window->controls().mnuExit->trigger() : window->controls().Command2->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(fs::exists(preferences()));
  }
  EXPECT_TRUE(fs::exists(workingFolder() / "kept.xml"));
}

TEST_F(MainWindowControls, BusyDisablesOnlyTheDocumentCommands) {
  auto window = showMainWindow();
  const auto& c = window->controls();
  const std::initializer_list<QObject*> documentCommands = {
      c.Command1, c.Command3, c.Command4,  c.Command5, c.Command6, c.Command7,
      c.Command8, c.Command9, c.Command10, c.Text1,    c.mnuCTF};
  const std::initializer_list<QObject*> others = {c.Command2, c.Command11, c.Text2,
                                                  c.Check1,   c.mnuIRF,    c.mnuExit};
  for (const bool busy : {true, false}) {
    SCOPED_TRACE(busy ? "busy" : "no longer busy");
    window->setBusy(busy);
    for (QObject* o : documentCommands)
      EXPECT_EQ(o->property("enabled").toBool(), !busy) << o->objectName().toStdString();
    for (QObject* o : others)
      EXPECT_TRUE(o->property("enabled").toBool()) << o->objectName().toStdString();
    EXPECT_EQ(c.RichTextBox1->editor().isReadOnly(), busy);
  }
}

}  // namespace
}  // namespace vantrel::testing
