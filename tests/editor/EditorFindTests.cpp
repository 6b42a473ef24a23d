// The editor's own search: options, the whole-word rule, and how a match is
// shown. Which bytes match (case folding, NUL) is ByteSearchTests' job.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/editor/Editor.h"

using vantrel::platform::Editor;

TEST(EditorFind, OptionsBoundsAndSelection) {
  Editor editor;
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
  Editor editor;
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
  while (editor->firstVisibleLine() < 1900 && deadline.elapsed() < 5000) QApplication::processEvents();
  EXPECT_GT(editor->firstVisibleLine(), 1900);
  EXPECT_LE(editor->firstVisibleLine(), 2000);
  EXPECT_FALSE(editor->hasFocus());
  EXPECT_EQ(editor->selStart(), found);
  EXPECT_EQ(editor->selLength(), 15);

  const QImage image = editor->grab().toImage();
  long highlighted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == Editor::selectionBackground()) ++highlighted;
  EXPECT_GT(highlighted, 100) << "the selection is not painted in the highlight colour";
}
