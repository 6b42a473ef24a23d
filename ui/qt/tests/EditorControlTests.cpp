// The QScintilla control under the core's editor: what only the widget does
// (keys, colouring, change signals, accessibility, painting a match).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "ui/qt/QtEditorControl.h"

using vantrel::qt::QtEditorControl;

TEST(EditorControl, TheKeyboardTypesCrLfAndCtrlZUndoes) {
  QtEditorControl control;
  auto& editor = control.editor();
  editor.setBytes(std::string("hello\0, world", 13));
  editor.setSelStart(5);
  QTest::keyClick(&control, Qt::Key_Return);  // the keyboard types CR LF, and Ctrl+Z undoes
  EXPECT_EQ(editor.bytes(), std::string("hello\r\n\0, world", 15));
  QTest::keyClick(&control, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor.bytes(), std::string("hello\0, world", 13));
}

TEST(EditorControl, LargeDocumentsStayUncolouredAndKeepTheirBytes) {
  QtEditorControl control;
  auto& editor = control.editor();
  editor.setBytes("<small/>");
  EXPECT_NE(control.lexer(), nullptr);
  std::string large;
  while (large.size() < 3 * 1024 * 1024) large += "<Line>text</Line>\r\n";
  large[12345] = '\0';
  editor.setBytes(large);
  EXPECT_EQ(control.lexer(), nullptr);
  EXPECT_EQ(editor.bytes(), large);
}

// Listeners must see the changed text when told of a change, and hear of
// a whole Replace All once.
TEST(EditorControl, ChangesAreAnnouncedAfterTheyHappen) {
  QtEditorControl control;
  auto& editor = control.editor();
  editor.setBytes("a b a b a");
  std::vector<std::string> announced;
  int lineChanges = 0;
  std::vector<bool> modification;
  QObject::connect(&control, &QtEditorControl::textChanged, [&] { announced.push_back(editor.bytes()); });
  QObject::connect(&control, &QtEditorControl::linesChanged, [&] { ++lineChanges; });
  QObject::connect(&control, &QtEditorControl::modificationChanged, [&](bool on) { modification.push_back(on); });

  EXPECT_EQ(editor.replaceAll("a", "c"), 3);
  EXPECT_EQ(announced, std::vector<std::string>{"c b c b c"});
  EXPECT_EQ(modification, std::vector<bool>{true});

  editor.setSelText("\r\n");
  EXPECT_EQ(announced.back(), "c b c b c\r\n");
  EXPECT_EQ(lineChanges, 1);

  control.setFocus();
  QTest::keyClicks(&control, "xy");
  editor.undo();
  editor.undo();
  editor.undo();
  QCoreApplication::processEvents();
  EXPECT_EQ(announced.back(), "a b a b a");
  EXPECT_EQ(lineChanges, 2);
  EXPECT_EQ(modification, (std::vector<bool>{true, false}));
}

TEST(EditorControl, AccessibleObjectHasNoTextInterface) {
  QtEditorControl control;
  control.show();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->textInterface(), nullptr);
}

// The find box keeps the focus, and the match must still stand out in the
// editor and be scrolled into view.
TEST(EditorControl, MatchStaysHighlightedAndVisibleWhileTheFindBoxHasTheFocus) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* control = new QtEditorControl;
  auto* editor = &control->editor();
  auto* findBox = new QLineEdit;
  layout->addWidget(control);
  layout->addWidget(findBox);
  window.resize(500, 300);
  window.show();
  QApplication::setActiveWindow(&window);
  findBox->setFocus();

  std::string text;
  for (int line = 0; line < 2000; ++line) text += "<Line>filler</Line>\r\n";
  text += "<Target>MATCHMATCHMATCH</Target>\r\n";
  editor->setBytes(text);
  const long found = editor->find("MATCHMATCHMATCH", 0);
  ASSERT_GT(found, 0);

  QElapsedTimer deadline;
  deadline.start();
  while (control->firstVisibleLine() < 1900 && deadline.elapsed() < 5000) QApplication::processEvents();
  EXPECT_GT(control->firstVisibleLine(), 1900);
  EXPECT_LE(control->firstVisibleLine(), 2000);
  EXPECT_FALSE(control->hasFocus());
  EXPECT_EQ(editor->selStart(), found);
  EXPECT_EQ(editor->selLength(), 15);

  const QImage image = control->grab().toImage();
  long highlighted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == QtEditorControl::selectionBackground()) ++highlighted;
  EXPECT_GT(highlighted, 100) << "the selection is not painted in the highlight colour";
}
