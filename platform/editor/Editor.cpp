#include "platform/editor/Editor.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/Utf8Text.h"
#include "platform/editor/SciMessages.h"
#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

Editor::Editor(ScintillaLink link, EditorHooks hooks) : link_(link), hooks_(std::move(hooks)) {
  applyDocumentSettings();
  sci(sci::kSetViewEol, 0);
  sci(sci::kSetWrapMode, sci::kWrapNone);
  // The selection stays visible while another control has the focus, so a
  // match found from the find box shows.
  sci(sci::kHideSelection, 0);
  setUpMargins();
  setUpViewColours();
}

void Editor::applyDocumentSettings() {
  // UTF-8 text: a position is still a byte, and every byte value survives
  // (bytes that are not UTF-8 show as hex blobs).
  sci(sci::kSetCodePage, sci::kCodePageUtf8);
  // Enter types CR LF; loaded line ends are kept as they are.
  sci(sci::kSetEolMode, sci::kEolCrLf);
  sciText(sci::kSetWordChars, 0, editorWordCharacters().c_str());
}

std::intptr_t Editor::sci(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const {
  return link_.function(link_.pointer, message, wParam, lParam);
}

std::intptr_t Editor::sciText(unsigned message, std::uintptr_t wParam, const char* text) const {
  return sci(message, wParam, reinterpret_cast<std::intptr_t>(text != nullptr ? text : ""));
}

void Editor::announceChange() const {
  fitLineNumberMargin();
  if (hooks_.changed) hooks_.changed();
}

void Editor::useXmlColouring() {
  if (xmlColouring_ || !hooks_.xmlColouring) return;
  xmlColouring_ = true;
  hooks_.xmlColouring();
  // The lexer brings its own styles: the margins are measured again.
  lineNumberDigits_ = 0;
  setUpMargins();
  // The lexer folds elements; blank lines stay with the text above them.
  sciText(sci::kSetProperty, reinterpret_cast<std::uintptr_t>("fold"), "1");
  sciText(sci::kSetProperty, reinterpret_cast<std::uintptr_t>("fold.html"), "1");
  sciText(sci::kSetProperty, reinterpret_cast<std::uintptr_t>("fold.compact"), "0");
  // The lines in view are coloured at once, the rest while the user works,
  // so a large document opens and scrolls as fast as plain text. Only with
  // a lexer: without one, the styling would wait for the window forever and
  // keep the idle timer running.
  sci(sci::kSetIdleStyling, sci::kIdleStylingAll);
}

namespace {
// Margins: 0 line numbers, 1 the fold margin. Marker 1 marks the line an
// error names.
constexpr std::uintptr_t kNumberMargin = 0;
constexpr std::uintptr_t kFoldMargin = 1;
constexpr std::uintptr_t kErrorMarker = 1;
constexpr std::intptr_t kErrorLineColour = 0xC8C8FF;  // 0xBBGGRR: a light red
constexpr std::intptr_t kFoldMarkerFore = 0xFFFFFF;
constexpr std::intptr_t kFoldMarkerBack = 0x808080;
}  // namespace

void Editor::setUpMargins() {
  sci(sci::kSetMarginTypeN, kNumberMargin, sci::kMarginNumber);
  sci(sci::kSetMarginTypeN, kFoldMargin, sci::kMarginSymbol);
  sci(sci::kSetMarginMaskN, kFoldMargin, sci::kMaskFolders);
  sci(sci::kSetMarginSensitiveN, kFoldMargin, 1);
  const std::intptr_t digit = sciText(sci::kTextWidth, sci::kStyleLineNumber, "9");
  sci(sci::kSetMarginWidthN, kFoldMargin, std::max<std::intptr_t>(12, digit * 2));
  // A boxed tree: plus and minus boxes joined by lines.
  const std::pair<int, int> folders[] = {
      {sci::kMarkNumFolderOpen, sci::kMarkBoxMinus},
      {sci::kMarkNumFolder, sci::kMarkBoxPlus},
      {sci::kMarkNumFolderSub, sci::kMarkVLine},
      {sci::kMarkNumFolderTail, sci::kMarkLCorner},
      {sci::kMarkNumFolderEnd, sci::kMarkBoxPlusConnected},
      {sci::kMarkNumFolderOpenMid, sci::kMarkBoxMinusConnected},
      {sci::kMarkNumFolderMidTail, sci::kMarkTCorner},
  };
  for (const auto& [number, symbol] : folders) {
    sci(sci::kMarkerDefine, static_cast<std::uintptr_t>(number), symbol);
    sci(sci::kMarkerSetFore, static_cast<std::uintptr_t>(number), kFoldMarkerFore);
    sci(sci::kMarkerSetBack, static_cast<std::uintptr_t>(number), kFoldMarkerBack);
  }
  sci(sci::kSetAutomaticFold, sci::kAutomaticFoldShowClickChange);
  sci(sci::kSetFoldFlags, sci::kFoldFlagLineAfterContracted);
  sci(sci::kMarkerDefine, kErrorMarker, sci::kMarkBackground);
  sci(sci::kMarkerSetBack, kErrorMarker, kErrorLineColour);
  fitLineNumberMargin();
}

void Editor::fitLineNumberMargin() const {
  int digits = 1;
  for (long lines = lineCount(); lines >= 10; lines /= 10) ++digits;
  digits = std::max(digits, 3);
  if (digits == lineNumberDigits_) return;
  lineNumberDigits_ = digits;
  const std::string widest(static_cast<std::size_t>(digits) + 1, '9');
  sci(sci::kSetMarginWidthN, kNumberMargin,
      sciText(sci::kTextWidth, sci::kStyleLineNumber, widest.c_str()));
}

long Editor::lineCount() const { return static_cast<long>(sci(sci::kGetLineCount)); }

long Editor::caretLine() const {
  return static_cast<long>(
             sci(sci::kLineFromPosition, static_cast<std::uintptr_t>(sci(sci::kGetCurrentPos)))) +
         1;
}

void Editor::goToLine(long line) {
  const auto index = static_cast<std::uintptr_t>(std::clamp(line, 1L, lineCount()) - 1);
  sci(sci::kEnsureVisibleEnforcePolicy, index);
  sci(sci::kGotoLine, index);
}

void Editor::goToLineColumn(long line, long column) {
  const auto index = static_cast<std::uintptr_t>(std::clamp(line, 1L, lineCount()) - 1);
  const std::intptr_t start = sci(sci::kPositionFromLine, index);
  const std::intptr_t end = sci(sci::kGetLineEndPosition, index);
  std::intptr_t at = start;
  if (column > 1) {
    at = sci(sci::kPositionRelative, static_cast<std::uintptr_t>(start), column - 1);
    if (at <= start || at > end) at = end;  // past the end of the line or the text
  }
  sci(sci::kEnsureVisibleEnforcePolicy, index);
  sci(sci::kGotoPos, static_cast<std::uintptr_t>(at));
}

void Editor::selectFromCaret(long length) {
  const long start = selStart();
  const long end = std::clamp(start + std::max(length, 0L), start, this->length());
  sci(sci::kSetSel, static_cast<std::uintptr_t>(start), end);
  sci(sci::kScrollRange, static_cast<std::uintptr_t>(end), start);
}

void Editor::markLine(long line) {
  clearMark();
  const auto index = static_cast<std::uintptr_t>(std::clamp(line, 1L, lineCount()) - 1);
  sci(sci::kMarkerAdd, index, static_cast<std::intptr_t>(kErrorMarker));
}

void Editor::clearMark() { sci(sci::kMarkerDeleteAll, kErrorMarker); }

long Editor::markedLine() const {
  return static_cast<long>(sci(sci::kMarkerNext, 0, std::intptr_t{1} << kErrorMarker)) + 1;
}

// Scintilla colours a document from its start: the text in view first and
// the rest while the user works. A jump far ahead of that (Ctrl+End in 500
// MB, the scroll box dragged down) would show uncoloured text for seconds,
// and an edit there would make Scintilla colour everything before it at
// once. So the text between is skipped: the background goes on from the
// view, and the skipped text is coloured a screen at a time when it comes
// into view. Lines of the converter's XML start outside any tag, so a line
// can be coloured without the lines before it.
void Editor::viewUpdated() {
  fitLineNumberMargin();
  if (viewColouring_)
    colourAndFoldView();
  else if (xmlColouring_)
    colourTextInView();
}

namespace {
// How far ahead of the coloured text the view may be before the text
// between is skipped: what the background colours in a moment.
constexpr long kSkipAfter = 1 << 20;
}  // namespace

void Editor::colourTextInView() {
  const long styled = static_cast<long>(sci(sci::kGetEndStyled));
  // An edit before or inside the skipped text made Scintilla start again
  // from there, so it colours that text itself.
  if (styled <= skippedFrom_) skippedFrom_ = skippedTo_ = 0;
  skippedTo_ = std::min(skippedTo_, styled);
  const auto firstLine =
      sci(sci::kDocLineFromVisible, static_cast<std::uintptr_t>(sci(sci::kGetFirstVisibleLine)));
  const auto lastLine = firstLine + sci(sci::kLinesOnScreen) + 1;
  const long viewStart =
      static_cast<long>(sci(sci::kPositionFromLine, static_cast<std::uintptr_t>(firstLine)));
  long viewEnd =
      static_cast<long>(sci(sci::kPositionFromLine, static_cast<std::uintptr_t>(lastLine)));
  if (viewEnd < 0) viewEnd = length();
  if (viewStart > styled + kSkipAfter) {
    if (skippedTo_ <= skippedFrom_) skippedFrom_ = styled;
    skippedTo_ = viewStart;
    sci(sci::kColourise, static_cast<std::uintptr_t>(viewStart), viewEnd);
    return;
  }
  const long from = std::max(viewStart, skippedFrom_), to = std::min(viewEnd, skippedTo_);
  if (from < to) {
    // Colouring a piece moves Scintilla's mark of the coloured text back to
    // the piece's end: it is put back where it was.
    sci(sci::kColourise, static_cast<std::uintptr_t>(from), to);
    sci(sci::kStartStyling, static_cast<std::uintptr_t>(styled), 0xff);
  }
}

void Editor::colourSkippedText() {
  if (skippedTo_ <= skippedFrom_) return;
  sci(sci::kStartStyling, static_cast<std::uintptr_t>(skippedFrom_), 0xff);
  skippedFrom_ = skippedTo_ = 0;
}

int Editor::styleAt(long position) const {
  return static_cast<int>(sci(sci::kGetStyleAt, static_cast<std::uintptr_t>(position)));
}

void Editor::marginClicked(long position, int margin) {
  if (!viewColouring_ || margin != static_cast<int>(kFoldMargin)) return;
  const auto line = static_cast<long>(
      sci(sci::kLineFromPosition, static_cast<std::uintptr_t>(std::max(position, 0L))));
  setIndentLevels(line, lineCount(), line);
  if ((sci(sci::kGetFoldLevel, static_cast<std::uintptr_t>(line)) & sci::kFoldLevelHeaderFlag) != 0)
    sci(sci::kToggleFold, static_cast<std::uintptr_t>(line));
}

void Editor::foldAll(bool contract) {
  // Folding needs every line's level: the skipped text is coloured first,
  // or every line's level is read off its indentation.
  if (viewColouring_)
    setIndentLevels(0, lineCount());
  else
    colourSkippedText();
  sci(sci::kFoldAll,
      static_cast<std::uintptr_t>(contract ? sci::kFoldActionContract : sci::kFoldActionExpand));
}

void Editor::foldAtCaret(bool contract) {
  auto line = static_cast<std::intptr_t>(caretLine() - 1);
  if (viewColouring_) {
    line = indentHeaderOf(static_cast<long>(line));
    if (line >= 0) setIndentLevels(static_cast<long>(line), lineCount(), static_cast<long>(line));
  } else if ((sci(sci::kGetFoldLevel, static_cast<std::uintptr_t>(line)) &
              sci::kFoldLevelHeaderFlag) == 0) {
    line = sci(sci::kGetFoldParent, static_cast<std::uintptr_t>(line));
  }
  if (line < 0) return;
  sci(sci::kFoldLine, static_cast<std::uintptr_t>(line),
      contract ? sci::kFoldActionContract : sci::kFoldActionExpand);
  // The caret stays on a line that shows.
  if (contract) sci(sci::kGotoLine, static_cast<std::uintptr_t>(line));
}

bool Editor::isLineVisible(long line) const {
  return sci(sci::kGetLineVisible, static_cast<std::uintptr_t>(line - 1)) != 0;
}

// Loading is not an edit: no undo step, and the document starts
// unmodified. A read-only editor (the user may not type while a file is
// converted) still takes the loaded text. Room for the whole text is
// reserved first: growing the control's buffers step by step copies the
// text again and again.
void Editor::beginLoad(std::size_t size) {
  sci(sci::kSetReadOnly, 0);
  sci(sci::kSetUndoCollection, 0);
  sci(sci::kClearAll);
  useDocumentFor(size);
  skippedFrom_ = skippedTo_ = 0;
  if (!viewColouring_) useXmlColouring();
  clearMark();
  // Room for the text and for typing after it: with no room left, the
  // first keystrokes would each move the whole text to a slightly larger
  // place (half a second on 500 MB on Linux, 5 s under Wine).
  const std::size_t room = (std::size_t{1} << 20) + size / 64;
  if (size > 0) sci(sci::kAllocate, size + room);
}

// Room in the line index for the lines of a text of size bytes, estimated
// from its first bytes. Without it the control grows the index a sixth at a
// time, copying it each time: 0.6 s of 4.2 s loading 500 MB under Wine. An
// estimate short of the truth leaves the rest to that growth; one far over
// it is capped at a line per 16 bytes, bounding the room it can hold.
void Editor::reserveLines(std::string_view firstBytes, std::size_t size) {
  if (firstBytes.empty()) return;
  const auto ends = std::count(firstBytes.begin(), firstBytes.end(), '\n');
  const double perByte = static_cast<double>(ends) / static_cast<double>(firstBytes.size());
  const auto estimate = static_cast<std::size_t>(perByte * static_cast<double>(size) * 1.1) + 1;
  sci(sci::kAllocateLines, std::min(estimate, size / 16 + 1));
}

void Editor::finishLoad(std::intptr_t readOnly) {
  sci(sci::kSetUndoCollection, 1);
  sci(sci::kEmptyUndoBuffer);
  sci(sci::kSetSavePoint);
  sci(sci::kSetReadOnly, static_cast<std::uintptr_t>(readOnly));
  sci(sci::kGotoPos, 0);
  announceChange();
}

void Editor::setBytes(std::string_view bytes) {
  const std::intptr_t readOnly = sci(sci::kGetReadOnly);
  beginLoad(bytes.size());
  reserveLines(bytes.substr(0, kLoadPiece), bytes.size());
  if (!bytes.empty()) sciText(sci::kAddText, bytes.size(), bytes.data());
  finishLoad(readOnly);
}

std::optional<files::FileError> Editor::loadFile(const std::string& path) {
  files::FileReader reader;
  if (auto failure = reader.open(path)) return failure;
  if (reader.size() > kLargestDocument)
    return files::FileError{files::FileError::Kind::TooLarge, "", reader.size()};
  const std::intptr_t readOnly = sci(sci::kGetReadOnly);
  beginLoad(static_cast<std::size_t>(reader.size()));
  std::vector<char> piece(kLoadPiece);
  std::uint64_t total = 0;
  std::optional<files::FileError> failure;
  for (;;) {
    const std::ptrdiff_t got = reader.read(piece.data(), piece.size());
    if (got < 0) {
      failure = reader.failure();
      break;
    }
    if (got == 0) break;
    if (total == 0)
      reserveLines({piece.data(), static_cast<std::size_t>(got)},
                   static_cast<std::size_t>(reader.size()));
    total += static_cast<std::uint64_t>(got);
    if (total > kLargestDocument) {
      failure =
          files::FileError{files::FileError::Kind::System, "it grew while it was read", total};
      break;
    }
    sciText(sci::kAddText, static_cast<std::uintptr_t>(got), piece.data());
  }
  if (failure) sci(sci::kClearAll);
  finishLoad(readOnly);
  return failure;
}

std::string Editor::bytes() const {
  const std::string_view text = view();
  return std::string(text.data(), text.size());
}

std::string_view Editor::view() const {
  const long size = length();
  if (size <= 0) return {};
  const auto* data = reinterpret_cast<const char*>(sci(sci::kGetCharacterPointer));
  return {data, static_cast<std::size_t>(size)};
}

long Editor::length() const { return static_cast<long>(sci(sci::kGetLength)); }

long Editor::selStart() const { return static_cast<long>(sci(sci::kGetSelectionStart)); }

long Editor::selLength() const {
  return static_cast<long>(sci(sci::kGetSelectionEnd) - sci(sci::kGetSelectionStart));
}

void Editor::setSelStart(long index) {
  index = std::clamp(index, 0L, length());
  if (index < length())
    index = static_cast<long>(characterStart(view(), static_cast<std::size_t>(index)));
  sci(sci::kGotoPos, static_cast<std::uintptr_t>(index));
}

void Editor::setSelText(std::string_view text) {
  if (isReadOnly()) return;
  const std::intptr_t start = sci(sci::kGetSelectionStart);
  const std::intptr_t end = sci(sci::kGetSelectionEnd);
  const auto size = static_cast<std::intptr_t>(text.size());
  // Explicit lengths so a NUL byte is inserted too; the delete and insert
  // undo as one step.
  sci(sci::kBeginUndoAction);
  sci(sci::kSetTargetRange, static_cast<std::uintptr_t>(start), end);
  sciText(sci::kReplaceTarget, static_cast<std::uintptr_t>(size), text.data());
  sci(sci::kEndUndoAction);
  sci(sci::kGotoPos, static_cast<std::uintptr_t>(start + size));
  announceChange();
}

bool Editor::replaceAllText(std::string_view text) {
  if (isReadOnly()) return false;
  const long line = caretLine();
  sci(sci::kBeginUndoAction);
  sci(sci::kSetTargetRange, 0, sci(sci::kGetLength));
  sciText(sci::kReplaceTarget, text.size(), text.data());
  sci(sci::kEndUndoAction);
  goToLine(line);
  announceChange();
  return true;
}

long Editor::searchFrom(std::string_view text, long start, ByteSearchOptions options) const {
  if (start < 0 || start > length()) return -1;
  const std::size_t found =
      ByteSearch(text, options).findIn(view(), static_cast<std::size_t>(start));
  return found == ByteSearch::npos ? -1 : static_cast<long>(found);
}

long Editor::find(std::string_view text, long start, int options) {
  ByteSearchOptions search;
  search.wholeWord = (options & rtfWholeWord) != 0;
  search.matchCase = (options & rtfMatchCase) != 0;
  const long found = searchFrom(text, std::max(start, 0L), search);
  if (found < 0 || (options & rtfNoHighlight)) return found;
  const long end = found + static_cast<long>(text.size());
  // Caret at the end of the match, then scroll so the whole match shows,
  // its start first when it does not fit.
  sci(sci::kSetSel, static_cast<std::uintptr_t>(found), end);
  sci(sci::kScrollRange, static_cast<std::uintptr_t>(end), found);
  return found;
}

long Editor::replaceAll(std::string_view findText, std::string_view replacement) {
  if (findText.empty() || isReadOnly()) return 0;
  // All matches first, in one pass over the text; then each is replaced
  // through the target messages, which work on the document directly and
  // cost only the distance from the previous replacement. Scintilla
  // repaints only from the event loop, so the run is painted once.
  const std::vector<std::size_t> matches = ByteSearch(findText, {}).allIn(view());
  if (matches.empty()) return 0;
  const auto findSize = static_cast<std::intptr_t>(findText.size());
  const auto replacementSize = static_cast<std::intptr_t>(replacement.size());
  std::intptr_t shift = 0;  // how far the text after the last replacement has moved
  // Listeners hear of the whole run once, afterwards, instead of twice per
  // replacement.
  const std::intptr_t eventMask = sci(sci::kGetModEventMask);
  sci(sci::kBeginUndoAction);
  for (const std::size_t match : matches) {
    const std::intptr_t start = static_cast<std::intptr_t>(match) + shift;
    sci(sci::kSetTargetRange, static_cast<std::uintptr_t>(start), start + findSize);
    sciText(sci::kReplaceTarget, static_cast<std::uintptr_t>(replacementSize), replacement.data());
    shift += replacementSize - findSize;
  }
  sci(sci::kEndUndoAction);
  sci(sci::kSetModEventMask, static_cast<std::uintptr_t>(eventMask));
  announceChange();
  sci(sci::kGotoPos,
      static_cast<std::uintptr_t>(static_cast<std::intptr_t>(matches.back()) + findSize + shift));
  return static_cast<long>(matches.size());
}

bool Editor::isReadOnly() const { return sci(sci::kGetReadOnly) != 0; }

void Editor::setReadOnly(bool readOnly) { sci(sci::kSetReadOnly, readOnly ? 1 : 0); }

bool Editor::isModified() const { return sci(sci::kGetModify) != 0; }

void Editor::markSaved() { sci(sci::kSetSavePoint); }

bool Editor::canUndo() const { return sci(sci::kCanUndo) != 0; }

void Editor::undo() {
  sci(sci::kUndo);
  announceChange();
}

bool Editor::canRedo() const { return sci(sci::kCanRedo) != 0; }

void Editor::redo() {
  sci(sci::kRedo);
  announceChange();
}

bool Editor::saveToFile(const std::string& path, std::string& errorText) const {
  if (const auto failure = files::replaceWhole(path, view())) {
    errorText = failure->reason;
    return false;
  }
  return true;
}

}  // namespace vantrel::platform
