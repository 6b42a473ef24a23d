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
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/qt/QtEditorControl.h"

using vantrel::qt::QtEditorControl;
namespace fs = std::filesystem;

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

// UTF-8 shows as characters; bytes that are not UTF-8 (an ANSI file, stray
// or cut-off sequences) survive loading, edits elsewhere and saving byte
// for byte, coloured or not.
TEST(EditorControl, ShowsUtf8AndKeepsBytesThatAreNot) {
  const std::string notUtf8 = "M\xFCnchen \xC3 \xBC \xC0\xAF \xED\xA0\x80 \xF5\xFF \xE2\x82";
  const std::string tail = "\r\n<Ansi>" + notUtf8 + "</Ansi>\r\n<x>old</x>";
  std::string large;  // beyond the size that is coloured
  while (large.size() < 2 * 1024 * 1024) large += "<Line>text</Line>\r\n";
  for (const std::string& before : {std::string(), large}) {
    const std::size_t padding = before.size();
    QtEditorControl control;
    auto& editor = control.editor();
    editor.setBytes(before + "<Name>M\xC3\xBCnchen</Name>" + tail);
    EXPECT_EQ(control.SendScintilla(QsciScintillaBase::SCI_GETCODEPAGE),
              QsciScintillaBase::SC_CP_UTF8);
    control.setFocus();
    editor.setSelStart(static_cast<long>(padding) + 7);  // after "<Name>M"
    QTest::keyClick(&control, Qt::Key_Right);            // over ü: two bytes
    EXPECT_EQ(editor.selStart(), static_cast<long>(padding) + 9);
    QTest::keyClicks(&control, QStringLiteral(u"ß"));    // typed as UTF-8
    editor.setSelStart(static_cast<long>(padding) + 8);  // inside ü: moves to its start
    EXPECT_EQ(editor.selStart(), static_cast<long>(padding) + 7);
    EXPECT_EQ(editor.replaceAll("OLD", "K\xC3\xB6ln"), 1);

    const std::string expected = before + "<Name>M\xC3\xBC\xC3\x9Fnchen</Name>" + "\r\n<Ansi>" +
                                 notUtf8 + "</Ansi>\r\n<x>K\xC3\xB6ln</x>";
    EXPECT_EQ(editor.bytes(), expected);
    const fs::path path = fs::temp_directory_path() / "editor_tests_not_utf8.xml";
    std::string error;
    ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == expected)
        << "saved bytes differ";
    fs::remove(path);
  }
}

// Every size is coloured (the rest of a large text in the background), and
// a NUL inside it survives.
TEST(EditorControl, LargeDocumentsAreColouredAndKeepTheirBytes) {
  QtEditorControl control;
  auto& editor = control.editor();
  editor.setBytes("<small/>");
  EXPECT_NE(control.lexer(), nullptr);
  std::string large;
  while (large.size() < 3 * 1024 * 1024) large += "<Line>text</Line>\r\n";
  large[12345] = '\0';
  editor.setBytes(large);
  EXPECT_NE(control.lexer(), nullptr);
  EXPECT_EQ(control.SendScintilla(QsciScintillaBase::SCI_GETIDLESTYLING),
            QsciScintillaBase::SC_IDLESTYLING_ALL);
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
  QObject::connect(&control, &QtEditorControl::textChanged,
                   [&] { announced.push_back(editor.bytes()); });
  QObject::connect(&control, &QtEditorControl::linesChanged, [&] { ++lineChanges; });
  QObject::connect(&control, &QtEditorControl::modificationChanged,
                   [&](bool on) { modification.push_back(on); });

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
  while (control->firstVisibleLine() < 1900 && deadline.elapsed() < 5000)
    QApplication::processEvents();
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
