#pragma once
#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QFont>
#include <string>
#include <string_view>

#include "platform/editor/ByteSearch.h"

// The editor control: QScintilla showing and editing UTF-8 (code page
// SC_CP_UTF8). The text is kept as bytes: CR LF and bytes that are not
// UTF-8 (an ANSI file, a stray byte) survive load and save untouched and
// show as hex blobs, one per byte. Positions count bytes; the caret and
// every selection the program makes start and end between characters.
// Everything outside platform/ talks to the editor only through these
// named methods.
//
// Line wrapping is off. Documents up to 1 MiB are coloured as XML; larger
// ones stay plain so that loading and scrolling stay instant.
//
// Search (find, replaceAll): see ByteSearch.h for the rules - matches never
// split a character, case-insensitive search folds case pairs beyond ASCII
// (CaseFolding.h), whole words follow WordCharacters.h.
//
// Signals: textChanged() after every change, once the text shows it (at
// the end of setBytes, setSelText and replaceAll - once for a whole Replace
// All - and from the event loop after typing, undo and redo),
// modificationChanged(bool) when the text leaves or regains its loaded
// state, linesChanged() when the number of lines changes.
//
// Accessibility: each Editor gets a plain accessible object (no text
// interface for screen readers), because QScintilla's own one makes every
// edit cost O(position); see EditorAccessibility.h.
namespace vantrel::platform {

class Editor : public QsciScintilla {
  Q_OBJECT
 public:
  // Find options as the program passes them.
  static constexpr int rtfWholeWord = 2;
  static constexpr int rtfMatchCase = 4;
  static constexpr int rtfNoHighlight = 8;

  explicit Editor(QWidget* parent = nullptr);

  // Whole text as bytes (explicit lengths: a NUL byte survives). Loading
  // works in a read-only editor too, empties the undo history and leaves
  // the text unmodified, the caret at the top.
  void setBytes(std::string_view bytes);
  std::string bytes() const;
  // Zero-copy view, valid until the next edit.
  std::string_view view() const;
  long length() const;

  // Index of the first selected byte (the caret when nothing is selected).
  long selStart() const;
  // Number of selected bytes; 0 when the selection is empty.
  long selLength() const;
  // Caret at index (clamped to the text; an index inside a character moves
  // to that character's start), selection emptied.
  void setSelStart(long index);
  // Replaces the selection (or inserts at the caret); the caret ends after it.
  // Setting the selected text and Replace All leave a read-only editor alone.
  void setSelText(std::string_view text);

  // First match of text (UTF-8) at or after start (to the end); -1 when none
  // or when start is past the end. Case-insensitive unless rtfMatchCase; whole words
  // with rtfWholeWord. A match becomes the selection unless rtfNoHighlight,
  // and stays visibly highlighted while another control has the focus.
  long find(std::string_view text, long start, int options = 0);
  // The colour the selection is painted in, focused or not.
  static QColor selectionBackground();

  // Replaces every occurrence, case-insensitively, left to right, without
  // overlaps and without rescanning inserted text, as one undo step and one
  // repaint. Returns the number of replacements; the caret ends after the
  // last one (unchanged when there was none). textChanged is emitted once
  // for the whole run.
  long replaceAll(std::string_view findText, std::string_view replacement);

  // Writes the whole text to path unchanged (binary, no conversion); false
  // with errorText set to the system's reason (strerror) on failure.
  bool saveToFile(const std::string& path, std::string& errorText) const;

 private:
  long sci(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
  long sciText(unsigned int message, unsigned long wParam, const char* text) const;
  // First match at or after start; -1 when none or start outside the text.
  long searchFrom(std::string_view text, long start, ByteSearchOptions options) const;
  void useXmlColouring(bool on);
  void changeComing();
  void announcePendingChange();
  void announceChange();

  QFont editorFont_;
  QsciLexer* xmlLexer_ = nullptr;
  long lineCount_ = 1;
  bool changePending_ = false;
};

}  // namespace vantrel::platform
