// Find, Replace and Replace All as the buttons run them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Utf8Text.h"
#include "platform/editor/Editor.h"
#include "search/Finder.h"
#include "tests/support/TestEditor.h"

using vantrel::platform::Editor;
using vantrel::search::Finder;
using vantrel::search::SearchState;

// Four-byte characters (U+1F682 and U+1F683).
#define LOCOMOTIVE "\xF0\x9F\x9A\x82"
#define CARRIAGE "\xF0\x9F\x9A\x83"

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
    return finder.state().lngFound;
  }

  std::unique_ptr<vantrel::testing::TestEditor> control = vantrel::testing::makeTestEditor();
  Editor& editor = control->editor();
  Finder finder{editor};
  SearchState& session = finder.state();
};

}  // namespace

// --- Find ---------------------------------------------------------------

// Each Find searches from the caret (a match right at it counts), then from
// one character past the last match's start; there is no wrap-around, and a
// miss leaves the last match selected.
TEST_F(FinderTest, FindStepsFromTheCaretThroughEveryMatchAndStopsAtTheLast) {
  struct Case {
    const char* text;
    long caret;
    const char* find;
    bool wholeWord;
    std::vector<long> found;
  };
  const Case cases[] = {
      {"width Width WIDTH", 0, "width", false, {0, 6, 12, -1, -1}},  // case-insensitive
      {"aaaa", 0, "aa", false, {0, 1, 2, -1}},                       // overlapping occurrences
      {"abab", 2, "ab", false, {2, -1}},
      {"Widths Width", 0, "Width", true, {7, -1}},  // whole word only from the check box
      {"Widths Width", 0, "Width", false, {0, 7, -1}},
      // Beyond ASCII: any case, whole characters, whole words.
      {"München MÜNCHEN münchen", 0, "MÜNCHEN", false, {0, 9, 18, -1}},
      {"ääää", 0, "ää", false, {0, 2, 4, -1}},                    // steps a whole character
      {LOCOMOTIVE LOCOMOTIVE, 0, LOCOMOTIVE, false, {0, 4, -1}},  // a four-byte emoji
      {"øy Tromsøy øy", 0, "ØY", true, {0, 13, -1}},              // not inside Tromsøy
      {"Straße Strasse", 0, "STRASSE", false, {8, -1}},           // ß is not "ss"
  };
  for (const Case& c : cases) {
    load(c.text, c.caret);
    long from = c.caret, last = -1;
    for (const long expected : c.found) {
      ASSERT_EQ(findNext(c.find, c.wholeWord), expected) << c.text << " from " << from;
      EXPECT_EQ(session.lngStart, from) << c.text;
      if (expected < 0) continue;
      last = expected;  // the next search starts one character on
      from = static_cast<long>(
          vantrel::platform::nextCharacterBoundary(c.text, static_cast<std::size_t>(last)));
    }
    EXPECT_EQ(editor.selStart(), last) << c.text;
    EXPECT_EQ(editor.selLength(), static_cast<long>(std::string_view(c.find).size())) << c.text;
  }
  load("ab ab", 0);
  editor.find("ab ab", 0);  // the user selected everything: Find starts one past the selection
  EXPECT_EQ(findNext("ab"), 3);
}

// An empty find box, nothing to replace, or an empty editor.
TEST_F(FinderTest, NothingToFindOrReplaceChangesNothing) {
  load("abc", 1);
  session.lngStart = 42;
  session.lngFound = 43;
  finder.find("", true);
  finder.replaceAll("", "x");
  EXPECT_EQ(session.lngStart, 42);
  EXPECT_EQ(session.lngFound, 43);
  EXPECT_EQ(editor.bytes(), "abc");
  EXPECT_EQ(editor.selStart(), 1);

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
  EXPECT_FALSE(editor.canUndo());
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
    const char *text, *find, *replacement, *expected;
    long caretAfter;
  };
  const Case cases[] = {
      {"--abab", "ab", "X", "--XX", 4},
      {"ab--ab", "ab", "X", "X--X", 4},
      {"xxa a", "a", "aa", "xxaa aa", 7},  // inserted text is not searched again
      {"aaaa", "aa", "b", "bb", 2},        // no overlaps
      {"aaa", "aa", "b", "ba", 1},
      {"AB ab Ab", "ab", "", "  ", 2},    // case-insensitive; empty replacement deletes
      {"Widths", "Width", "W", "Ws", 1},  // never whole-word
      {"a\r\nb\r\n", "\r\n", "\n", "a\nb\n", 4},
      {"München, MÜNCHEN", "münchen", "Köln", "Köln, Köln", 12},
      {"ßSS", "ss", "x", "ßx", 3},
      {LOCOMOTIVE "a" LOCOMOTIVE, LOCOMOTIVE, CARRIAGE, CARRIAGE "a" CARRIAGE, 9},
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

// Only the Replace All goes: the edit before it stays.
TEST_F(FinderTest, ReplaceAllUndoesInOneStep) {
  load("<a>x</a>\r\n<a>X</a>\r\n<b>x</b>");
  finder.replace("typed ");
  finder.replaceAll("x", "yy");
  EXPECT_EQ(editor.bytes(), "typed <a>yy</a>\r\n<a>yy</a>\r\n<b>yy</b>");
  editor.undo();
  EXPECT_EQ(editor.bytes(), "typed <a>x</a>\r\n<a>X</a>\r\n<b>x</b>");
  editor.redo();
  EXPECT_EQ(editor.bytes(), "typed <a>yy</a>\r\n<a>yy</a>\r\n<b>yy</b>");
}
