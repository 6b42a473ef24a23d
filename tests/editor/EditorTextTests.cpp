// The editor as a byte store: what goes in comes out unchanged, edits land
// where the caret says, listeners hear of them, and saving writes exactly
// the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/editor/Editor.h"
#include "tests/support/TestEditor.h"

using vantrel::platform::Editor;
using vantrel::testing::makeTestEditor;
namespace fs = std::filesystem;

namespace {

std::string everyByteValue() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

}  // namespace

TEST(EditorText, EveryByteValueLineEndsAndNulSurviveARoundTrip) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  const std::string text = "<a>\r\n\tx\ry\nz</a>" + everyByteValue() + std::string("\0tail", 5);
  editor.setBytes(text);
  EXPECT_EQ(editor.length(), static_cast<long>(text.size()));
  EXPECT_EQ(editor.bytes(), text);
  EXPECT_EQ(editor.view(), text);
}

TEST(EditorText, LoadingIsNotAnEditAndPutsTheCaretAtTheTop) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes("first");
  editor.setSelStart(3);
  editor.setSelText("X");
  editor.setBytes("second");
  EXPECT_FALSE(editor.isModified());
  EXPECT_FALSE(editor.canUndo());
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
  auto control = makeTestEditor();
  Editor& editor = control->editor();
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
}

TEST(EditorText, SaveWritesExactlyTheBytesOrFailsWithAReason) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  const std::string text = "line\r\n" + everyByteValue();
  editor.setBytes(text);
  const fs::path path = fs::temp_directory_path() / "editor_tests_save.xml";
  std::ofstream(path, std::ios::binary) << std::string(1000, 'o');  // replaced, not appended to
  std::string error;
  ASSERT_TRUE(editor.saveToFile(path.string(), error)) << error;
  {
    std::ifstream in(path, std::ios::binary);  // closed before the remove (Windows)
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
  }
  fs::remove(path);

  const fs::path missing = fs::temp_directory_path() / "editor_tests_no_folder" / "file.xml";
  EXPECT_FALSE(editor.saveToFile(missing.string(), error));
  EXPECT_FALSE(error.empty());
}

// A file loaded a piece at a time gives exactly its bytes, also where a
// CR LF or a UTF-8 character straddles two pieces; it is not an edit, and
// a read-only editor takes it too. A missing file leaves the text alone.
TEST(EditorText, LoadingAFileInPiecesKeepsEveryByte) {
  const fs::path path = fs::temp_directory_path() / "vantrel-editor-load.xml";
  constexpr std::size_t kPiece = std::size_t{4} << 20;
  std::string text;
  while (text.size() < 2 * kPiece + 100) text += std::string(99, 'x') + '\n';
  text.replace(kPiece - 1, 2, "\r\n");
  text.replace(2 * kPiece - 1, 2, "\xC3\xBC");
  text += everyByteValue();
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));

  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes("before");
  editor.setReadOnly(true);
  ASSERT_FALSE(editor.loadFile(path.string()));
  EXPECT_EQ(editor.view(), text);
  auto reference = makeTestEditor();
  reference->editor().setBytes(text);
  EXPECT_EQ(editor.lineCount(), reference->editor().lineCount()) << "CR LF is one line end";
  EXPECT_FALSE(editor.isModified());
  EXPECT_FALSE(editor.canUndo());
  EXPECT_TRUE(editor.isReadOnly());
  EXPECT_EQ(editor.selStart(), 0);

  editor.setReadOnly(false);
  editor.setBytes("kept");
  const auto missing =
      editor.loadFile((fs::temp_directory_path() / "vantrel-no-such.xml").string());
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->kind, vantrel::files::FileError::Kind::Missing);
  EXPECT_EQ(editor.bytes(), "kept");
  fs::remove(path);
}

// Room for the lines is guessed from a text's first piece: a guess far
// below or far above the truth still gives every line, and lines typed
// afterwards count.
TEST(EditorText, LinesAreCountedWhateverTheFirstPiecePromises) {
  const fs::path path = fs::temp_directory_path() / "vantrel-editor-lines.xml";
  constexpr std::size_t kPiece = std::size_t{4} << 20;
  const std::string sparse = std::string(kPiece, 'x') + std::string(300'000, '\n');
  const std::string dense = std::string(kPiece, '\n') + std::string(kPiece, 'y');
  for (const std::string* text : {&sparse, &dense}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text->data(), static_cast<std::streamsize>(text->size()));
    const long lines = static_cast<long>(std::count(text->begin(), text->end(), '\n')) + 1;
    auto control = makeTestEditor();
    Editor& editor = control->editor();
    ASSERT_FALSE(editor.loadFile(path.string()));
    EXPECT_EQ(editor.lineCount(), lines);
    editor.setBytes(*text);
    EXPECT_EQ(editor.lineCount(), lines);
    editor.setSelStart(editor.length());
    editor.setSelText("\n\n");
    EXPECT_EQ(editor.lineCount(), lines + 2);
    EXPECT_EQ(editor.view().substr(0, text->size()), *text);
  }
  fs::remove(path);
}

// An import puts the whole new text in: one undo step that one undo takes
// back, the caret on its line (or the last), a read-only editor untouched.
TEST(EditorText, ReplacingTheWholeTextIsOneUndoStep) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes("one\ntwo\nthree\nfour\n");
  editor.setSelStart(9);  // line 3
  editor.setSelText("3 ");
  const std::string typed = editor.bytes();
  ASSERT_TRUE(editor.replaceAllText(std::string("a\nb\nc\0d\ne\n", 10)));
  EXPECT_EQ(editor.bytes(), std::string("a\nb\nc\0d\ne\n", 10));
  EXPECT_EQ(editor.caretLine(), 3);
  EXPECT_TRUE(editor.isModified());
  editor.undo();
  EXPECT_EQ(editor.bytes(), typed);
  editor.undo();  // the typing was a step of its own
  EXPECT_EQ(editor.bytes(), "one\ntwo\nthree\nfour\n");

  editor.setSelStart(static_cast<long>(editor.length()));
  ASSERT_TRUE(editor.replaceAllText("short"));
  EXPECT_EQ(editor.caretLine(), 1);
  editor.setReadOnly(true);
  EXPECT_FALSE(editor.replaceAllText("refused"));
  EXPECT_EQ(editor.bytes(), "short");
}
