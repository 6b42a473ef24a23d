// Documents coloured a view at a time (the large ones): the text is kept as
// exactly as in any other document, the lines in view get colours and fold
// levels, and the fold commands and clicks reach every element.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/editor/Editor.h"
#include "tests/support/TestEditor.h"

using vantrel::platform::Editor;
using vantrel::testing::makeTestEditor;

namespace {

// Line 1 <a>, 2 <b>, 3 <c>x</c>, 4 </b>, 5 <d/>, 6 </a>.
const std::string kNested = "<a>\r\n\t<b>\r\n\t\t<c>x</c>\r\n\t</b>\r\n\t<d/>\r\n</a>\r\n";

std::string records(int count) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet>\r\n";
  for (int i = 0; i < count; ++i)
    xml += "\t<Entity>\r\n\t\t<Name d:type=\"cDeltaString\">Tree " + std::to_string(i) +
           "</Name>\r\n\t</Entity>\r\n";
  return xml + "</cRecordSet>\r\n";
}

// Every document is coloured by view in these tests.
std::unique_ptr<vantrel::testing::TestEditor> makeViewColouredEditor() {
  auto control = makeTestEditor();
  control->editor().setViewColouringFrom(0);
  return control;
}

// The document changes kind with the size of what is loaded, and keeps the
// editor's rules either way: every byte survives, loading is no edit and
// keeps a read-only editor read-only, typed characters go in as UTF-8, undo
// works, and a small text after a large one is coloured by the lexer again.
TEST(EditorViewColouring, EitherKindOfDocumentKeepsTheEditorsRules) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  control->show();
  std::string everyByte;
  for (int value = 0; value < 256; ++value) everyByte.push_back(static_cast<char>(value));
  const std::string text = "<a>\r\n\tx\ry\nz</a>" + everyByte;

  for (const bool byView : {true, false, true}) {
    SCOPED_TRACE(byView ? "coloured by view" : "coloured by the lexer");
    editor.setViewColouringFrom(byView ? 0 : Editor::kViewColouringFrom);
    editor.setBytes(kNested);
    editor.setReadOnly(true);
    editor.setBytes(text);
    EXPECT_EQ(editor.coloursByView(), byView);
    EXPECT_EQ(editor.bytes(), text);
    EXPECT_TRUE(editor.isReadOnly());
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.canUndo());

    editor.setReadOnly(false);
    editor.setBytes(kNested);
    control->paint();
    EXPECT_TRUE(editor.isColoured(1)) << "the first tag";
    editor.setSelStart(3);
    control->type('\xE9');
    EXPECT_EQ(editor.bytes().substr(0, 5), "<a>\xC3\xA9");
    EXPECT_TRUE(editor.isModified());
    editor.undo();
    EXPECT_EQ(editor.bytes(), kNested);
  }
}

TEST(EditorViewColouring, ElementsFoldByTheirIndentation) {
  auto control = makeViewColouredEditor();
  Editor& editor = control->editor();
  editor.setBytes(kNested);
  control->show();
  editor.foldAll(true);
  EXPECT_TRUE(editor.isLineVisible(1));
  for (long line = 2; line <= 6; ++line) EXPECT_FALSE(editor.isLineVisible(line)) << line;
  editor.foldAll(false);
  for (long line = 1; line <= 6; ++line) EXPECT_TRUE(editor.isLineVisible(line)) << line;

  // From inside <b>, and from its end tag, <b> folds, down to its end tag.
  for (const long from : {3L, 4L}) {
    editor.goToLine(from);
    editor.foldAtCaret(true);
    EXPECT_TRUE(editor.isLineVisible(2));
    EXPECT_FALSE(editor.isLineVisible(3));
    EXPECT_FALSE(editor.isLineVisible(4));
    EXPECT_TRUE(editor.isLineVisible(5));
    EXPECT_EQ(editor.caretLine(), 2);
    editor.foldAtCaret(false);
    EXPECT_TRUE(editor.isLineVisible(3));
  }

  // A click in the fold margin folds and unfolds; elsewhere it does not.
  const long bStart = 5;  // line 2's first byte
  editor.marginClicked(bStart, 1);
  EXPECT_FALSE(editor.isLineVisible(3));
  EXPECT_TRUE(editor.isLineVisible(5));
  editor.marginClicked(bStart, 1);
  EXPECT_TRUE(editor.isLineVisible(3));
  editor.marginClicked(bStart, 0);
  editor.marginClicked(11, 1);  // line 3 starts no element
  EXPECT_TRUE(editor.isLineVisible(3));

  // Go to Line opens a folded element to show its line.
  editor.foldAll(true);
  editor.goToLine(4);
  EXPECT_TRUE(editor.isLineVisible(4));
}

// Only the lines in view carry colours: the top when opened, the end after
// a jump there (and no longer the top), and a line edited in view.
TEST(EditorViewColouring, TheLinesInViewAreColouredWhereverTheViewGoes) {
  auto control = makeViewColouredEditor();
  Editor& editor = control->editor();
  editor.setBytes(records(20000));
  control->show();
  const auto tagOfLine = [&](long line) {
    editor.goToLine(line);
    return editor.selStart() + 2;  // after the tabs
  };
  const long lines = editor.lineCount();
  const long top = tagOfLine(3);
  const long end = tagOfLine(lines - 2);
  editor.goToLine(1);
  control->paint();
  EXPECT_TRUE(editor.isColoured(top));
  EXPECT_FALSE(editor.isColoured(end));

  editor.goToLine(lines);
  control->paint();
  EXPECT_TRUE(editor.isColoured(end));
  EXPECT_FALSE(editor.isColoured(top));

  editor.setSelStart(end + 1);
  control->type('x');  // "</xEntity>": still a tag
  control->paint();
  EXPECT_TRUE(editor.isColoured(end + 1));

  // Fold All reaches the lines never shown, and the first element folds.
  editor.foldAll(true);
  EXPECT_TRUE(editor.isLineVisible(2));
  EXPECT_FALSE(editor.isLineVisible(3));
  editor.foldAll(false);
  editor.goToLine(lines / 2);
  editor.foldAtCaret(true);
  EXPECT_FALSE(editor.isLineVisible(lines / 2 + 1) && editor.isLineVisible(lines / 2));
}

// Levels read once are kept, but not past an edit: an element that a
// Replace All adds far out of view folds at a click like any other.
TEST(EditorViewColouring, FoldLevelsFollowEditsOutOfView) {
  auto control = makeViewColouredEditor();
  Editor& editor = control->editor();
  editor.setBytes(records(2000));
  control->show();
  editor.foldAll(true);
  editor.foldAll(false);
  ASSERT_GT(editor.replaceAll("\t</Entity>", "\t</Entity>\r\n\t<Tail>\r\n\t\t<x/>\r\n\t</Tail>"),
            1000);
  editor.goToLine(1);
  control->paint();
  // One a quarter of the way down, among the lines whose levels were read.
  const long tail = editor.find("\t<Tail>", editor.length() / 4, Editor::rtfNoHighlight);
  ASSERT_GT(tail, 0);
  const std::string_view before = editor.view().substr(0, static_cast<std::size_t>(tail));
  const long tailLine = static_cast<long>(std::count(before.begin(), before.end(), '\n')) + 1;
  editor.marginClicked(tail, 1);
  EXPECT_TRUE(editor.isLineVisible(tailLine));
  EXPECT_FALSE(editor.isLineVisible(tailLine + 1));
  EXPECT_FALSE(editor.isLineVisible(tailLine + 2)) << "its end tag";
  EXPECT_TRUE(editor.isLineVisible(tailLine + 3)) << "the next record";
}

}  // namespace
