#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/Files.h"
#include "platform/editor/ByteSearch.h"
#include "platform/editor/XmlLineColours.h"

// The editor: a Scintilla control driven only through its message
// interface, so the same code runs over QScintilla on Linux and over the
// Win32 control on Windows. Each window's adapter creates the control and
// hands over its direct function; everything else is decided here.
//
// The text is UTF-8 (Scintilla's code page SC_CP_UTF8), kept as bytes: CR
// LF and bytes that are not UTF-8 (an ANSI file, a stray byte) survive load
// and save untouched and show as hex blobs, one per byte. Positions count
// bytes; the caret and every selection the program makes start and end
// between characters. Line wrapping is off.
//
// Search (find, replaceAll): see ByteSearch.h for the rules - matches never
// split a character, case-insensitive search folds case pairs beyond ASCII
// (CaseFolding.h), whole words follow WordCharacters.h.
namespace vantrel::platform {

// How to reach one Scintilla control: its direct function and the pointer
// it takes first.
struct ScintillaLink {
  using Function = std::intptr_t (*)(std::intptr_t pointer, unsigned int message,
                                     std::uintptr_t wParam, std::intptr_t lParam);
  Function function = nullptr;
  std::intptr_t pointer = 0;
};

// What only the window's adapter can do for the editor.
struct EditorHooks {
  // Attach the XML lexer, which colours and folds the text.
  std::function<void()> xmlColouring;
  // A change made through this wrapper is complete and shows in the text
  // (after load, setSelText and once after a whole Replace All).
  std::function<void()> changed;
};

class Editor {
 public:
  // Find options as the program passes them.
  static constexpr int rtfWholeWord = 2;
  static constexpr int rtfMatchCase = 4;
  static constexpr int rtfNoHighlight = 8;

  // The largest text the control holds correctly: its positions are 32-bit
  // on some builds, and beyond this a document shows NUL and garbage bytes
  // that Save As would write. Larger texts are refused before loading.
  static constexpr std::uint64_t kLargestDocument = 2'147'483'647;

  Editor(ScintillaLink link, EditorHooks hooks);

  // Whole text as bytes (explicit lengths: a NUL byte survives). Loading
  // works in a read-only editor too, empties the undo history and leaves
  // the text unmodified, the caret at the top.
  void setBytes(std::string_view bytes);
  // Loads the file at path as setBytes does, read a piece at a time into
  // room reserved for the whole file, so a large file is held once and
  // never copied while it grows. A file larger than kLargestDocument is
  // refused (TooLarge) before anything changes; on a read failure the
  // editor is left empty.
  std::optional<files::FileError> loadFile(const std::string& path);
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
  // Replaces the selection (or inserts at the caret); the caret ends after
  // it. A read-only editor is left alone.
  void setSelText(std::string_view text);
  // Replaces the whole text with text as one undo step (one undo brings the
  // old text back); unlike setBytes the text counts as modified and the
  // caret stays on its line (the last one when the text is shorter). A
  // read-only editor is left alone: false.
  bool replaceAllText(std::string_view text);

  // First match of text (UTF-8) at or after start (to the end); -1 when
  // none or when start is past the end. Case-insensitive unless rtfMatchCase; whole
  // words with rtfWholeWord. A match becomes the selection unless
  // rtfNoHighlight, scrolled into view.
  long find(std::string_view text, long start, int options = 0);

  // Replaces every occurrence, case-insensitively, left to right, without
  // overlaps and without rescanning inserted text, as one undo step and one
  // repaint. Returns the number of replacements; the caret ends after the
  // last one (unchanged when there was none). A read-only editor is left
  // alone (0).
  long replaceAll(std::string_view findText, std::string_view replacement);

  bool isReadOnly() const;
  void setReadOnly(bool readOnly);
  // The text differs from what was loaded or last marked saved.
  bool isModified() const;
  void markSaved();
  bool canUndo() const;
  void undo();
  bool canRedo() const;
  void redo();

  // Lines, folding and marks. Lines count from 1; columns count characters
  // from 1, as the converter's messages name them.
  long lineCount() const;
  long caretLine() const;
  // Caret at the start of line (clamped to the text), scrolled into view
  // and unfolded.
  void goToLine(long line);
  // Caret at line and column (clamped to that line), in view.
  void goToLineColumn(long line, long column);
  // Selects length bytes from the caret (clamped to the text), scrolled
  // into view; the caret ends after them.
  void selectFromCaret(long length);
  // Marks one line (a background colour) until the next load or
  // clearMark(); only one line is marked at a time.
  void markLine(long line);
  void clearMark();
  long markedLine() const;  // 0 when none
  // Folds (contract) or unfolds every element, or the element the caret is
  // in (its start tag's line).
  void foldAll(bool contract);
  void foldAtCaret(bool contract);
  bool isLineVisible(long line) const;
  // The line-number margin is as wide as the largest number needs; called
  // after every change of the text (cheap when the width stays).
  void fitLineNumberMargin() const;
  // The control has scrolled, moved the caret or changed its text (its
  // "update UI" notification, sent while it paints): the line-number
  // margin is fitted, and text in view far beyond what the background
  // styling has reached is coloured at once (see colourTextInView).
  void viewUpdated();
  // The style number at position (0: not coloured).
  int styleAt(long position) const;
  // The text at position has a colour (from either kind of colouring).
  bool isColoured(long position) const;
  // A click in a margin at position (the start of the clicked line). The
  // control folds on its own for the lexer; a document coloured a view at a
  // time folds here, once the levels of the clicked element are known.
  void marginClicked(long position, int margin);

  // Documents of at least this many bytes are held without a style byte
  // per text byte (which would double the memory they take) and are
  // coloured and given fold levels a view at a time: the lines in view by
  // XmlLineColours.h and IndentFolds.h, a whole element or the whole text
  // when a fold command needs it. Smaller ones are coloured and folded by
  // the XML lexer. Changeable for tests; takes effect at the next load.
  static constexpr std::size_t kViewColouringFrom = std::size_t{32} << 20;
  void setViewColouringFrom(std::size_t bytes) { viewColouringFrom_ = bytes; }
  bool coloursByView() const { return viewColouring_; }

  // Writes the whole text to path unchanged, replacing the file in one
  // step; false with errorText set to the reason on failure.
  bool saveToFile(const std::string& path, std::string& errorText) const;

 private:
  std::intptr_t sci(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;
  std::intptr_t sciText(unsigned message, std::uintptr_t wParam, const char* text) const;
  long searchFrom(std::string_view text, long start, ByteSearchOptions options) const;
  // Attaches the XML lexer (once, at the first load).
  void useXmlColouring();
  void colourTextInView();
  void colourSkippedText();
  void beginLoad(std::size_t size);
  void reserveLines(std::string_view firstBytes, std::size_t size);
  void finishLoad(std::intptr_t readOnly);
  // A file is read into the control in pieces of this size.
  static constexpr std::size_t kLoadPiece = std::size_t{4} << 20;
  void setUpMargins();
  void announceChange() const;
  // The document's own settings (code page, line ends, word characters),
  // which a new document starts without.
  void applyDocumentSettings();
  void setUpViewColours();
  // Puts a document of the kind a text of size bytes needs in the control
  // when it holds the other kind; the old one (already emptied) goes.
  void useDocumentFor(std::size_t size);
  void colourAndFoldView();
  void clearColours(long from, long to);
  bool isColouredAlready(long line, std::uint64_t key, long start,
                         const std::vector<XmlColourRun>& colours) const;
  // Sets the indentation fold levels of the lines from first on, up to
  // last (exclusive) or, when outsideOf is a line, up to and including the
  // first line after it that is not blank and lies outside its element.
  void setIndentLevels(long first, long last, long outsideOf = -1);
  long indentHeaderOf(long line) const;
  // Marks the whole text styled, so that Scintilla does not ask the window
  // to style line after line while it walks fold levels. Scintilla moves
  // that mark back to wherever the text changes, so the mark also tells
  // which known levels an edit since the last call has made stale.
  void markStyled();

  ScintillaLink link_;
  EditorHooks hooks_;
  bool xmlColouring_ = false;
  std::size_t viewColouringFrom_ = kViewColouringFrom;
  bool viewColouring_ = false;
  // What the view showed when it was last coloured: its lines and their text.
  std::uint64_t colouredView_ = 0;
  // The lines coloured in view then, each with its text's and context's hash.
  std::vector<std::pair<long, std::uint64_t>> colouredLines_;
  // The lines [0, levelsKnownTo_) have their indentation fold levels.
  long levelsKnownTo_ = 0;
  // Text the background styling was sent past, uncoloured, because the
  // view jumped far ahead of it: [skippedFrom_, skippedTo_). Coloured a
  // screen at a time as it comes into view, and whole before Fold All.
  long skippedFrom_ = 0, skippedTo_ = 0;
  mutable int lineNumberDigits_ = 0;
};

}  // namespace vantrel::platform
