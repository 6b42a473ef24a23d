// The editor's own search: options, the whole-word rule, and how a match is
// shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/editor/Editor.h"
#include "platform/editor/WordCharacters.h"

using vantrel::platform::Editor;

namespace {

constexpr int wholeWord = Editor::rtfWholeWord;
constexpr int matchCase = Editor::rtfMatchCase;

void expectSelected(const Editor& editor, long start, long length) {
  EXPECT_EQ(editor.selStart(), start);
  EXPECT_EQ(editor.selLength(), length);
}

}  // namespace

TEST(EditorFind, IsCaseInsensitiveUnlessAskedAndSelectsTheMatch) {
  Editor editor;
  editor.setBytes("one WIDTH two width");
  EXPECT_EQ(editor.find("width", 0), 4);
  expectSelected(editor, 4, 5);
  EXPECT_EQ(editor.find("width", 0, matchCase), 14);
  expectSelected(editor, 14, 5);
  EXPECT_EQ(editor.find("Width", 0, matchCase), -1);
  expectSelected(editor, 14, 5);  // a miss keeps the selection
}

TEST(EditorFind, StartBoundsAndEmptyText) {
  Editor editor;
  editor.setBytes("abcabc");
  EXPECT_EQ(editor.find("abc", 0), 0);
  EXPECT_EQ(editor.find("abc", 1), 3);
  EXPECT_EQ(editor.find("abc", 4), -1);  // only complete matches before the end
  EXPECT_EQ(editor.find("abc", 6), -1);
  EXPECT_EQ(editor.find("abc", 7), -1);
  EXPECT_EQ(editor.find("abc", -3), 0);
  EXPECT_EQ(editor.find("", 0), -1);
  Editor empty;
  EXPECT_EQ(empty.find("a", 0), -1);
}

TEST(EditorFind, NoHighlightLeavesTheSelectionAlone) {
  Editor editor;
  editor.setBytes("abc abc");
  editor.setSelStart(2);
  EXPECT_EQ(editor.find("abc", 1, Editor::rtfNoHighlight), 4);
  expectSelected(editor, 2, 0);
}

TEST(EditorFind, BytesAboveAsciiMatchExactlyAndNulsAreSearchable) {
  Editor editor;
  editor.setBytes(std::string("caf\xe9 CAF\xc9 a\0b", 13));
  EXPECT_EQ(editor.find("CAF\xe9", 0), 0);       // ASCII letters fold
  EXPECT_EQ(editor.find("\xc9", 0), 8);          // 0xE9 and 0xC9 do not
  EXPECT_EQ(editor.find(std::string_view("a\0b", 3), 0), 10);
}

TEST(EditorFind, WholeWordDoesNotStopInsideALongerWord) {
  Editor editor;
  editor.setBytes("<Widths>Width</Widths>");
  EXPECT_EQ(editor.find("Width", 0, wholeWord), 8);
  EXPECT_EQ(editor.find("Width", 0), 1);
  EXPECT_EQ(editor.find("Width", 9, wholeWord), -1);
}

TEST(EditorFind, WordCharactersAreLettersDigitsUnderscoreAndHighBytes) {
  Editor editor;
  // Each neighbour of 'id' below joins it into a longer word...
  for (const char* joined : {"xid", "idx", "_id", "id_", "7id", "id7", "\xe9id", "id\xff"}) {
    editor.setBytes(joined);
    EXPECT_EQ(editor.find("id", 0, wholeWord), -1) << joined;
  }
  // ...and each of these separates words.
  for (const char* separated : {"<id>", "\"id\"", "a.id", "id-b", "x id\r\n", "id:x", "=id="}) {
    editor.setBytes(separated);
    EXPECT_GE(editor.find("id", 0, wholeWord), 0) << separated;
  }
  EXPECT_TRUE(vantrel::platform::isEditorWordCharacter('Q'));
  EXPECT_TRUE(vantrel::platform::isEditorWordCharacter(0x80));
  EXPECT_FALSE(vantrel::platform::isEditorWordCharacter('-'));
  EXPECT_FALSE(vantrel::platform::isEditorWordCharacter(0x7f));
  EXPECT_EQ(vantrel::platform::editorWordCharacters().size(), 26u + 26u + 10u + 1u + 128u);
}

// The find box keeps the focus, and the match must still stand out in the
// editor and be scrolled into view.
TEST(EditorFind, MatchStaysHighlightedAndVisibleWhileTheFindBoxHasTheFocus) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* editor = new Editor;
  auto* findBox = new QLineEdit;
  layout->addWidget(editor);
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
  int firstLine = 0;
  while (deadline.elapsed() < 5000) {
    QApplication::processEvents();
    firstLine = editor->firstVisibleLine();
    if (firstLine > 1900) break;
  }
  EXPECT_GT(firstLine, 1900);
  EXPECT_LE(firstLine, 2000);
  EXPECT_FALSE(editor->hasFocus());
  expectSelected(*editor, found, 15);

  const QImage image = editor->grab().toImage();
  const QColor highlight = Editor::selectionBackground();
  long highlighted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == highlight) ++highlighted;
  EXPECT_GT(highlighted, 100) << "the selection is not painted in the highlight colour";
}
