// The editor as a byte store: what goes in comes out unchanged, edits land
// where the caret says, listeners hear of them, and saving writes exactly
// the text.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/editor/Editor.h"

using vantrel::platform::Editor;
namespace fs = std::filesystem;

namespace {

std::string everyByteValue() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

}  // namespace

TEST(EditorText, EveryByteValueLineEndsAndNulSurviveARoundTrip) {
  Editor editor;
  const std::string text = "<a>\r\n\tx\ry\nz</a>" + everyByteValue() + std::string("\0tail", 5);
  editor.setBytes(text);
  EXPECT_EQ(editor.length(), static_cast<long>(text.size()));
  EXPECT_EQ(editor.bytes(), text);
  EXPECT_EQ(editor.view(), text);
}

// UTF-8 shows as characters; bytes that are not UTF-8 (an ANSI file, stray
// or cut-off sequences) survive loading, edits elsewhere and saving byte
// for byte, coloured or not.
TEST(EditorText, ShowsUtf8AndKeepsBytesThatAreNot) {
  const std::string notUtf8 = "M\xFCnchen \xC3 \xBC \xC0\xAF \xED\xA0\x80 \xF5\xFF \xE2\x82";
  const std::string tail = "\r\n<Ansi>" + notUtf8 + "</Ansi>\r\n<x>old</x>";
  std::string large;  // beyond the size that is coloured
  while (large.size() < 2 * 1024 * 1024) large += "<Line>text</Line>\r\n";
  for (const std::string& before : {std::string(), large}) {
    const std::size_t padding = before.size();
    Editor editor;
    editor.setBytes(before + "<Name>M\xC3\xBCnchen</Name>" + tail);
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETCODEPAGE), QsciScintillaBase::SC_CP_UTF8);
    editor.setFocus();
    editor.setSelStart(static_cast<long>(padding) + 7);  // after "<Name>M"
    QTest::keyClick(&editor, Qt::Key_Right);  // over ü: two bytes
    EXPECT_EQ(editor.selStart(), static_cast<long>(padding) + 9);
    QTest::keyClicks(&editor, QStringLiteral(u"ß"));  // typed as UTF-8
    editor.setSelStart(static_cast<long>(padding) + 8);  // inside ü: moves to its start
    EXPECT_EQ(editor.selStart(), static_cast<long>(padding) + 7);
    EXPECT_EQ(editor.replaceAll("OLD", "K\xC3\xB6ln"), 1);

    const std::string expected =
        before + "<Name>M\xC3\xBC\xC3\x9Fnchen</Name>" +
        "\r\n<Ansi>" + notUtf8 + "</Ansi>\r\n<x>K\xC3\xB6ln</x>";
    EXPECT_EQ(editor.bytes(), expected);
    const fs::path path = fs::temp_directory_path() / "editor_tests_not_utf8.xml";
    std::string error;
    ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == expected) << "saved bytes differ";
    fs::remove(path);
  }
}

TEST(EditorText, LoadingIsNotAnEditAndPutsTheCaretAtTheTop) {
  Editor editor;
  editor.setBytes("first");
  editor.setSelStart(3);
  editor.setSelText("X");
  editor.setBytes("second");
  EXPECT_FALSE(editor.isModified());
  EXPECT_FALSE(editor.isUndoAvailable());
  EXPECT_EQ(editor.selStart(), 0);

  editor.setReadOnly(true);  // as while a conversion runs
  editor.setBytes("converted");
  EXPECT_EQ(editor.bytes(), "converted");
  EXPECT_TRUE(editor.isReadOnly());
  editor.setSelText("typed");  // but edits are refused, and say so
  EXPECT_EQ(editor.replaceAll("converted", "x"), 0);
  EXPECT_EQ(editor.bytes(), "converted");
  EXPECT_EQ(editor.selStart(), 0);
}

TEST(EditorText, CaretSelTextAndKeysFollowTheSelection) {
  Editor editor;
  editor.setBytes("hello world");
  editor.setSelStart(100);
  EXPECT_EQ(editor.selStart(), 11);  // clamped to the end
  editor.setSelStart(-5);
  EXPECT_EQ(editor.selStart(), 0);

  editor.setSelStart(5);
  editor.setSelText(std::string_view("\0,", 2));  // inserted at the caret, NUL included
  EXPECT_EQ(editor.bytes(), std::string("hello\0, world", 13));
  EXPECT_EQ(editor.selStart(), 7);

  editor.find("world", 0);
  editor.setSelText("there");
  EXPECT_EQ(editor.bytes(), std::string("hello\0, there", 13));
  EXPECT_EQ(editor.selStart(), 13);
  EXPECT_EQ(editor.selLength(), 0);
  editor.undo();  // the replacement undoes as one step
  EXPECT_EQ(editor.bytes(), std::string("hello\0, world", 13));

  editor.setSelStart(5);
  QTest::keyClick(&editor, Qt::Key_Return);  // the keyboard types CR LF, and Ctrl+Z undoes
  EXPECT_EQ(editor.bytes(), std::string("hello\r\n\0, world", 15));
  QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor.bytes(), std::string("hello\0, world", 13));
}

TEST(EditorText, SaveWritesExactlyTheBytesOrFailsWithAReason) {
  Editor editor;
  const std::string text = "line\r\n" + everyByteValue();
  editor.setBytes(text);
  const fs::path path = fs::temp_directory_path() / "editor_tests_save.xml";
  std::ofstream(path, std::ios::binary) << std::string(1000, 'o');  // replaced, not appended to
  std::string error;
  ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
  fs::remove(path);

  const fs::path missing = fs::temp_directory_path() / "editor_tests_no_folder" / "file.xml";
  EXPECT_FALSE(editor.saveToFile(missing.string(), error));
  EXPECT_FALSE(error.empty());
}

TEST(EditorText, LargeDocumentsStayUncolouredAndKeepTheirBytes) {
  Editor editor;
  editor.setBytes("<small/>");
  EXPECT_NE(editor.lexer(), nullptr);
  std::string large;
  while (large.size() < 3 * 1024 * 1024) large += "<Line>text</Line>\r\n";
  large[12345] = '\0';
  editor.setBytes(large);
  EXPECT_EQ(editor.lexer(), nullptr);
  EXPECT_EQ(editor.bytes(), large);
}

// Listeners must see the changed text when told of a change, and hear of
// a whole Replace All once.
TEST(EditorText, ChangesAreAnnouncedAfterTheyHappen) {
  Editor editor;
  editor.setBytes("a b a b a");
  std::vector<std::string> announced;
  int lineChanges = 0;
  std::vector<bool> modification;
  QObject::connect(&editor, &Editor::textChanged, [&] { announced.push_back(editor.bytes()); });
  QObject::connect(&editor, &Editor::linesChanged, [&] { ++lineChanges; });
  QObject::connect(&editor, &Editor::modificationChanged, [&](bool on) { modification.push_back(on); });

  EXPECT_EQ(editor.replaceAll("a", "c"), 3);
  EXPECT_EQ(announced, std::vector<std::string>{"c b c b c"});
  EXPECT_EQ(modification, std::vector<bool>{true});

  editor.setSelText("\r\n");
  EXPECT_EQ(announced.back(), "c b c b c\r\n");
  EXPECT_EQ(lineChanges, 1);

  editor.setFocus();
  QTest::keyClicks(&editor, "xy");
  editor.undo();
  editor.undo();
  editor.undo();
  QCoreApplication::processEvents();
  EXPECT_EQ(announced.back(), "a b a b a");
  EXPECT_EQ(lineChanges, 2);
  EXPECT_EQ(modification, (std::vector<bool>{true, false}));
}

TEST(EditorText, AccessibleObjectHasNoTextInterface) {
  Editor editor;
  editor.show();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&editor);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->textInterface(), nullptr);
}
