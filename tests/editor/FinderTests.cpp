// Find, Replace and Replace All as the buttons run them.
#include <gtest/gtest.h>

#include "platform/editor/Editor.h"
#include "search/Finder.h"

using vantrel::EditorSession;
using vantrel::platform::Editor;
using vantrel::search::Finder;

namespace {

class FinderTest : public ::testing::Test {
 protected:
  void load(std::string_view text, long caret = 0) {
    editor.setBytes(text);
    editor.setSelStart(caret);
  }
  // Presses Find and returns the index it found (-1 for none).
  long findNext(std::string_view text, bool wholeWord = false) {
    finder.find(text, wholeWord);
    return session.lngFound;
  }

  Editor editor;
  EditorSession session;
  Finder finder{editor, session};
};

}  // namespace

// --- Find ---------------------------------------------------------------

TEST_F(FinderTest, FindStepsThroughEveryCaseFromTheCaretAndStopsAtTheLast) {
  load("width Width WIDTH");
  EXPECT_EQ(findNext("width"), 0);
  EXPECT_EQ(session.lngStart, 0);
  EXPECT_EQ(findNext("width"), 6);
  EXPECT_EQ(session.lngStart, 1);
  EXPECT_EQ(findNext("width"), 12);
  EXPECT_EQ(session.lngStart, 7);
  EXPECT_EQ(findNext("width"), -1);
  EXPECT_EQ(session.lngStart, 13);
  EXPECT_EQ(editor.selStart(), 12);  // no wrap-around: the last match stays selected
  EXPECT_EQ(editor.selLength(), 5);
  EXPECT_EQ(findNext("width"), -1);
}

TEST_F(FinderTest, FindVisitsOverlappingOccurrences) {
  load("aaaa");
  EXPECT_EQ(findNext("aa"), 0);
  EXPECT_EQ(findNext("aa"), 1);
  EXPECT_EQ(findNext("aa"), 2);
  EXPECT_EQ(findNext("aa"), -1);
}

TEST_F(FinderTest, FindStartsAtTheCaretButOnePastASelection) {
  load("abab", 2);
  EXPECT_EQ(findNext("ab"), 2);  // a match right at the caret counts
  load("ab ab", 0);
  editor.find("ab ab", 0);       // the user selected everything
  EXPECT_EQ(findNext("ab"), 3);
}

TEST_F(FinderTest, WholeWordOnlyFromTheCheckBox) {
  load("Widths Width");
  EXPECT_EQ(findNext("Width", true), 7);
  load("Widths Width");
  EXPECT_EQ(findNext("Width", false), 0);
}

TEST_F(FinderTest, EmptyFindTextChangesNothing) {
  load("abc", 1);
  session.lngStart = 42;
  session.lngFound = 43;
  finder.find("", true);
  finder.replaceAll("", "x");
  EXPECT_EQ(session.lngStart, 42);
  EXPECT_EQ(session.lngFound, 43);
  EXPECT_EQ(editor.bytes(), "abc");
  EXPECT_EQ(editor.selStart(), 1);
}

// --- Replace ------------------------------------------------------------

TEST_F(FinderTest, ReplaceActsOnTheSelectionOrTheCaret) {
  load("cat cat cat");
  findNext("cat");
  finder.replace("dog");
  EXPECT_EQ(editor.bytes(), "dog cat cat");
  EXPECT_EQ(findNext("cat"), 4);  // the next Find moves on from after the replacement

  finder.replace("");  // an empty replace box deletes the selection
  EXPECT_EQ(editor.bytes(), "dog  cat");
  EXPECT_EQ(editor.selStart(), 4);

  finder.replace("bird");  // nothing selected: inserted at the caret
  EXPECT_EQ(editor.bytes(), "dog bird cat");
  EXPECT_EQ(editor.selStart(), 8);
}

// --- Replace All --------------------------------------------------------

TEST_F(FinderTest, ReplaceAllTakesEveryOccurrenceLeftToRight) {
  struct Case {
    const char* text;
    const char* find;
    const char* replacement;
    const char* expected;
    long caretAfter;
  };
  const Case cases[] = {
      {"--abab", "ab", "X", "--XX", 4},
      {"ab--ab", "ab", "X", "X--X", 4},
      {"xxa a", "a", "aa", "xxaa aa", 7},    // inserted text is not searched again
      {"aaaa", "aa", "b", "bb", 2},          // no overlaps
      {"aaa", "aa", "b", "ba", 1},
      {"AB ab Ab", "ab", "", "  ", 2},       // case-insensitive; empty replacement deletes
      {"Widths", "Width", "W", "Ws", 1},     // never whole-word
      {"a\r\nb\r\n", "\r\n", "\n", "a\nb\n", 4},
  };
  for (const Case& c : cases) {
    load(c.text, 3);
    finder.replaceAll(c.find, c.replacement);
    EXPECT_EQ(editor.bytes(), c.expected) << c.text;
    EXPECT_EQ(editor.selStart(), c.caretAfter) << c.text;
    EXPECT_EQ(editor.selLength(), 0) << c.text;
    EXPECT_EQ(session.lngStart, c.caretAfter) << c.text;
    EXPECT_EQ(session.lngFound, -1) << c.text;
  }
}

TEST_F(FinderTest, ReplaceAllWithNothingToReplaceChangesNothing) {
  load("some text", 4);
  finder.replaceAll("absent", "x");
  EXPECT_EQ(editor.bytes(), "some text");
  EXPECT_EQ(editor.selStart(), 4);
  EXPECT_FALSE(editor.isModified());
  EXPECT_EQ(session.lngStart, 0);
  EXPECT_EQ(session.lngFound, -1);

  load("");
  finder.replaceAll("a", "b");
  EXPECT_EQ(editor.length(), 0);
  EXPECT_FALSE(editor.isUndoAvailable());
}

TEST_F(FinderTest, ReplaceAllUndoesInOneStep) {
  const std::string original = "<a>x</a>\r\n<a>X</a>\r\n<b>x</b>";
  load(original);
  finder.replace("typed ");
  const std::string beforeReplaceAll = editor.bytes();
  finder.replaceAll("x", "yy");
  EXPECT_EQ(editor.bytes(), "typed <a>yy</a>\r\n<a>yy</a>\r\n<b>yy</b>");
  editor.undo();
  EXPECT_EQ(editor.bytes(), beforeReplaceAll);
  editor.redo();
  EXPECT_EQ(editor.bytes(), "typed <a>yy</a>\r\n<a>yy</a>\r\n<b>yy</b>");
}
