// The editor as a byte store: what goes in comes out unchanged, edits land
// where the caret says, and saving writes exactly the text.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include <cstdio>
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

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path scratchFile(const char* name) {
  return fs::temp_directory_path() / (std::string("editor_tests_") + name);
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

TEST(EditorText, LoadingIsNotAnEditAndPutsTheCaretAtTheTop) {
  Editor editor;
  editor.setBytes("first");
  editor.setSelStart(3);
  editor.setSelText("X");
  editor.setBytes("second");
  EXPECT_FALSE(editor.isModified());
  EXPECT_FALSE(editor.isUndoAvailable());
  EXPECT_EQ(editor.selStart(), 0);
  editor.setBytes("");
  EXPECT_EQ(editor.length(), 0);
  EXPECT_EQ(editor.bytes(), "");
  EXPECT_TRUE(editor.view().empty());
}

TEST(EditorText, CaretPlacementClampsToTheText) {
  Editor editor;
  editor.setBytes("abcdef");
  editor.setSelStart(4);
  EXPECT_EQ(editor.selStart(), 4);
  EXPECT_EQ(editor.selLength(), 0);
  editor.setSelStart(100);
  EXPECT_EQ(editor.selStart(), 6);
  editor.setSelStart(-5);
  EXPECT_EQ(editor.selStart(), 0);
}

TEST(EditorText, SelTextReplacesTheSelectionOrInsertsAtTheCaret) {
  Editor editor;
  editor.setBytes("hello world");
  editor.setSelStart(5);
  editor.setSelText(std::string_view("\0,", 2));  // a NUL is inserted too
  EXPECT_EQ(editor.bytes(), std::string("hello\0, world", 13));
  EXPECT_EQ(editor.selStart(), 7);

  editor.setBytes("hello world");
  editor.find("world", 0);
  editor.setSelText("there");
  EXPECT_EQ(editor.bytes(), "hello there");
  EXPECT_EQ(editor.selStart(), 11);
  EXPECT_EQ(editor.selLength(), 0);

  editor.find("hello ", 0);
  editor.setSelText("");
  EXPECT_EQ(editor.bytes(), "there");
  editor.undo();  // the replacement undoes as one step
  EXPECT_EQ(editor.bytes(), "hello there");
}

TEST(EditorText, KeyboardEditsTypeCrLfAndCtrlZUndoes) {
  Editor editor;
  editor.setBytes("ab");
  editor.setSelStart(1);
  QTest::keyClick(&editor, Qt::Key_Return);
  EXPECT_EQ(editor.bytes(), "a\r\nb");
  QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor.bytes(), "ab");
}

TEST(EditorText, SaveWritesExactlyTheBytesAndReplacesAnOldFile) {
  Editor editor;
  const std::string text = "line\r\n" + everyByteValue();
  editor.setBytes(text);
  const fs::path path = scratchFile("save.xml");
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(1000, 'o');
  }
  std::string error;
  ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
  EXPECT_EQ(readFile(path), text);

  editor.setBytes("");
  ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
  EXPECT_EQ(fs::file_size(path), 0u);
  fs::remove(path);
}

TEST(EditorText, SaveIntoAMissingFolderFailsWithAReason) {
  Editor editor;
  editor.setBytes("x");
  std::string error;
  const fs::path path = scratchFile("no_such_folder") / "file.xml";
  EXPECT_FALSE(editor.saveToFile(path.string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(path));
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
  editor.setBytes("<small/>");  // and back: colouring returns
  EXPECT_NE(editor.lexer(), nullptr);
  EXPECT_EQ(editor.bytes(), "<small/>");
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
  EXPECT_EQ(lineChanges, 0);

  editor.setSelText("\r\n");
  ASSERT_EQ(announced.size(), 2u);
  EXPECT_EQ(announced.back(), "c b c b c\r\n");
  EXPECT_EQ(lineChanges, 1);

  editor.setFocus();
  QTest::keyClicks(&editor, "xy");
  editor.undo();
  editor.undo();
  editor.undo();
  QCoreApplication::processEvents();
  EXPECT_EQ(editor.bytes(), "a b a b a");
  ASSERT_GE(announced.size(), 3u);
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
  EXPECT_EQ(accessible->object(), &editor);
}
