// Lines, columns, marks and folding on a real editor control: what Go to
// Line, the fold keys and a refused Save .bin rely on.
#include <gtest/gtest.h>

#include <string>

#include "platform/editor/Editor.h"
#include "tests/support/TestEditor.h"

using vantrel::platform::Editor;
using vantrel::testing::makeTestEditor;

namespace {

// Line 1 <a>, 2 <b>, 3 <c>x</c>, 4 </b>, 5 <d/>, 6 </a>.
const std::string kNested = "<a>\r\n  <b>\r\n    <c>x</c>\r\n  </b>\r\n  <d/>\r\n</a>\r\n";

TEST(EditorNavigation, LinesAndColumnsAreClampedAndCountCharacters) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes(
      "first\r\nZ\xC3\xBCrich Stra\xC3\x9F"
      "e\r\nlast");
  EXPECT_EQ(editor.lineCount(), 3);
  editor.goToLine(2);
  EXPECT_EQ(editor.selStart(), 7);
  EXPECT_EQ(editor.caretLine(), 2);
  editor.goToLine(99);
  EXPECT_EQ(editor.caretLine(), 3);
  EXPECT_EQ(editor.selStart(), editor.length() - 4);
  editor.goToLine(0);
  EXPECT_EQ(editor.selStart(), 0);

  // Column 3 is the third character: after "Zü", two bytes into line 2.
  editor.goToLineColumn(2, 3);
  EXPECT_EQ(editor.selStart(), 7 + 3);
  editor.goToLineColumn(2, 1000);  // past the end of the line: its end
  EXPECT_EQ(editor.selStart(), 7 + 15);
  editor.goToLineColumn(3, 5);
  EXPECT_EQ(editor.selStart(), editor.length() - 4 + 4);
}

TEST(EditorNavigation, OneMarkedLineUntilTheNextLoad) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes(kNested);
  EXPECT_EQ(editor.markedLine(), 0);
  editor.markLine(3);
  editor.markLine(4);
  EXPECT_EQ(editor.markedLine(), 4);
  editor.clearMark();
  EXPECT_EQ(editor.markedLine(), 0);
  editor.markLine(2);
  editor.setBytes(kNested);
  EXPECT_EQ(editor.markedLine(), 0);
}

TEST(EditorNavigation, ElementsFoldAndUnfold) {
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes(kNested);
  editor.foldAll(true);
  EXPECT_TRUE(editor.isLineVisible(1));
  for (long line = 2; line <= 5; ++line) EXPECT_FALSE(editor.isLineVisible(line)) << line;
  editor.foldAll(false);
  for (long line = 1; line <= 6; ++line) EXPECT_TRUE(editor.isLineVisible(line)) << line;

  // From inside <b> (line 3 is no element of its own), <b> folds.
  editor.goToLine(3);
  editor.foldAtCaret(true);
  EXPECT_TRUE(editor.isLineVisible(2));
  EXPECT_FALSE(editor.isLineVisible(3));
  EXPECT_TRUE(editor.isLineVisible(5));
  EXPECT_EQ(editor.caretLine(), 2);  // the caret stays where it can be seen
  editor.foldAtCaret(false);
  EXPECT_TRUE(editor.isLineVisible(3));

  // Go to Line opens a folded element to show its line.
  editor.foldAll(true);
  editor.goToLine(4);
  EXPECT_TRUE(editor.isLineVisible(4));
}

// A large document: text in view far ahead of the background colouring
// (the end, then the middle) is coloured at the first paint, and Fold All
// folds the elements of the text that was skipped on the way.
TEST(EditorNavigation, TextFarAheadIsColouredAtOnceAndFoldAllReachesIt) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet>\r\n";
  const std::string entity =
      "\t<Entity>\r\n\t\t<Name d:type=\"cDeltaString\">Tree</Name>\r\n\t</Entity>\r\n";
  while (xml.size() < (std::size_t{24} << 20)) xml += entity;
  xml += "</cRecordSet>\r\n";
  auto control = makeTestEditor();
  Editor& editor = control->editor();
  editor.setBytes(xml);
  control->show();

  const auto colouredLine = [&](long line) {
    editor.goToLine(line);
    control->paint();
    const long start = editor.selStart();
    return editor.styleAt(start + 2) != 0;  // the tag after the tabs
  };
  const long lines = editor.lineCount();
  EXPECT_TRUE(colouredLine(lines - 4)) << "the end, right after opening";
  EXPECT_TRUE(colouredLine(lines / 2)) << "the skipped middle, as it comes into view";

  editor.goToLine(lines / 3);
  editor.foldAll(true);
  EXPECT_FALSE(editor.isLineVisible(lines / 3 + 1)) << "an element of the skipped text folded";
}

}  // namespace
