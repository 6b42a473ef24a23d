// The editor's own search: options, the whole-word rule, and how a match is
// shown. Which bytes match (case folding, NUL) is ByteSearchTests' job.
#include <gtest/gtest.h>

#include "platform/editor/Editor.h"
#include "tests/support/TestEditor.h"

using vantrel::platform::Editor;

TEST(EditorFind, OptionsBoundsAndSelection) {
  auto control = vantrel::testing::makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes(std::string("one WIDTH two width caf\xe9 a\0b", 28));
  EXPECT_EQ(editor.find("width", 0), 4);  // case-insensitive by default
  EXPECT_EQ(editor.selStart(), 4);
  EXPECT_EQ(editor.selLength(), 5);
  EXPECT_EQ(editor.find("width", 0, Editor::rtfMatchCase), 14);
  EXPECT_EQ(editor.find("Width", 0, Editor::rtfMatchCase), -1);
  EXPECT_EQ(editor.selStart(), 14);  // a miss keeps the selection
  EXPECT_EQ(editor.find("one", 1), -1);
  EXPECT_EQ(editor.find("one", -3), 0);
  EXPECT_EQ(editor.find("b", 28), -1);
  EXPECT_EQ(editor.find("", 0), -1);

  editor.setSelStart(2);
  EXPECT_EQ(editor.find("two", 0, Editor::rtfNoHighlight), 10);
  EXPECT_EQ(editor.selStart(), 2);
  EXPECT_EQ(editor.selLength(), 0);
}

TEST(EditorFind, WholeWordFollowsTheWordCharacters) {
  auto control = vantrel::testing::makeTestEditor();
  Editor& editor = control->editor();
  // Letters, digits, '_' and bytes 0x80-0xFF join 'id' into a longer word...
  for (const char* joined : {"xid", "idx", "_id", "id_", "7id", "id7", "\xe9id", "id\xff"}) {
    editor.setBytes(joined);
    EXPECT_EQ(editor.find("id", 0, Editor::rtfWholeWord), -1) << joined;
  }
  // ...everything else separates words.
  for (const char* separated : {"<id>", "\"id\"", "a.id", "id-b", "x id\r\n", "id:x", "=id\x7f"}) {
    editor.setBytes(separated);
    EXPECT_GE(editor.find("id", 0, Editor::rtfWholeWord), 0) << separated;
  }
}
