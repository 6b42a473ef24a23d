#include "platform/editor/Editor.h"

#include <Qsci/qscilexerxml.h>

#include <QColor>
#include <QFont>
#include <QSignalBlocker>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/core/Utf8Text.h"
#include "platform/editor/ByteSearch.h"
#include "platform/editor/EditorAccessibility.h"
#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

namespace {

// Documents up to this size get XML colouring. The lexer styles everything
// up to the line shown, so the first jump to the end of a document costs
// time in proportion to its size (measured: 80 ms for 1 MB on a busy
// machine, 1.25 s for 50 MB). Larger documents stay plain and instant.
constexpr long xmlColouringLimit = 1L * 1024 * 1024;

// The notifications that make QScintilla's container code convert text and
// count characters from the document start on every insert and delete
// (O(position) per edit). Before-insert and before-delete still announce
// changes (and bring Scintilla's change signal, ahead of the edit).
constexpr int slowModificationEvents =
    QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT |
    QsciScintillaBase::SC_PERFORMED_USER | QsciScintillaBase::SC_PERFORMED_UNDO |
    QsciScintillaBase::SC_PERFORMED_REDO | QsciScintillaBase::SC_MULTISTEPUNDOREDO |
    QsciScintillaBase::SC_LASTSTEPINUNDOREDO | QsciScintillaBase::SC_MULTILINEUNDOREDO |
    QsciScintillaBase::SC_STARTACTION;
constexpr int modificationEvents = QsciScintillaBase::SC_MODEVENTMASKALL & ~slowModificationEvents;

// The selection colours, the same whether the editor has the focus or not,
// so a match found from the find box stays plainly visible.
const QColor selectionBack(0x00, 0x78, 0xd7);
const QColor selectionFore(0xff, 0xff, 0xff);

}  // namespace

// Scintilla messages with the integer and pointer parameters spelt once, so
// the overloads of SendScintilla are never ambiguous.
long Editor::sci(unsigned int message, unsigned long wParam, long lParam) const {
  return SendScintilla(message, wParam, lParam);
}

long Editor::sciText(unsigned int message, unsigned long wParam, const char* text) const {
  return SendScintilla(message, static_cast<std::uintptr_t>(wParam), text != nullptr ? text : "");
}

Editor::Editor(QWidget* parent) : QsciScintilla(parent) {
  installEditorAccessibility();

  // UTF-8 text: a position is still a byte, and every byte value survives
  // (bytes that are not UTF-8 show as hex blobs).
  setUtf8(true);
  sci(SCI_SETCODEPAGE, SC_CP_UTF8);
  // Enter types CR LF; loaded line ends are kept as they are.
  setEolMode(EolWindows);
  setEolVisibility(false);
  setWrapMode(WrapNone);

  sci(SCI_SETMODEVENTMASK, modificationEvents);
  // QScintilla derives textChanged and linesChanged from the masked insert
  // and delete notifications. Scintilla's own change signal now comes from
  // the before-insert/before-delete notice, ahead of the edit, so the
  // announcement waits until the edit is done: at the end of our own
  // editing methods, or from the event loop after a keystroke.
  connect(this, &QsciScintillaBase::SCEN_CHANGE, this, &Editor::changeComing);

  sciText(SCI_SETWORDCHARS, 0, editorWordCharacters().c_str());

  sci(SCI_HIDESELECTION, 0);
  setSelectionBackgroundColor(selectionBack);
  setSelectionForegroundColor(selectionFore);

  editorFont_ = QFont(QStringLiteral("MS Sans Serif"), 12, QFont::Bold);
  editorFont_.setStyleHint(QFont::SansSerif);
  setFont(editorFont_);

  xmlLexer_ = new QsciLexerXML(this);
  xmlLexer_->setDefaultFont(editorFont_);
  xmlLexer_->setFont(editorFont_);
}

void Editor::changeComing() {
  if (changePending_) return;
  changePending_ = true;
  QMetaObject::invokeMethod(this, &Editor::announcePendingChange, Qt::QueuedConnection);
}

void Editor::announcePendingChange() {
  if (changePending_) announceChange();
}

void Editor::announceChange() {
  changePending_ = false;
  emit textChanged();
  const long lines = sci(SCI_GETLINECOUNT);
  if (lines == lineCount_) return;
  lineCount_ = lines;
  emit linesChanged();
}

void Editor::useXmlColouring(bool on) {
  if (on == (lexer() != nullptr)) return;
  if (on) {
    setLexer(xmlLexer_);
  } else {
    setLexer(nullptr);
    setFont(editorFont_);
  }
  // Switching lexers resets the styles; keep the selection look.
  setSelectionBackgroundColor(selectionBack);
  setSelectionForegroundColor(selectionFore);
}

void Editor::setBytes(std::string_view bytes) {
  const auto size = static_cast<long>(bytes.size());
  // Loading is not an edit: no undo step, and the document starts unmodified.
  // A read-only editor (the user may not type while a file is converted)
  // still takes the loaded text.
  const long readOnly = sci(SCI_GETREADONLY);
  sci(SCI_SETREADONLY, 0);
  sci(SCI_SETUNDOCOLLECTION, 0);
  sci(SCI_CLEARALL);
  useXmlColouring(size <= xmlColouringLimit);
  if (size > 0) sciText(SCI_ADDTEXT, static_cast<unsigned long>(size), bytes.data());
  sci(SCI_SETUNDOCOLLECTION, 1);
  sci(SCI_EMPTYUNDOBUFFER);
  sci(SCI_SETSAVEPOINT);
  sci(SCI_SETREADONLY, static_cast<unsigned long>(readOnly));
  sci(SCI_GOTOPOS, 0);
  announcePendingChange();
}

std::string Editor::bytes() const {
  const std::string_view text = view();
  return std::string(text.data(), text.size());
}

std::string_view Editor::view() const {
  const long size = length();
  if (size <= 0) return {};
  const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
  return {data, static_cast<std::size_t>(size)};
}

long Editor::length() const { return sci(SCI_GETLENGTH); }

long Editor::selStart() const { return sci(SCI_GETSELECTIONSTART); }

long Editor::selLength() const { return sci(SCI_GETSELECTIONEND) - sci(SCI_GETSELECTIONSTART); }

void Editor::setSelStart(long index) {
  index = std::clamp(index, 0L, length());
  if (index < length()) index = static_cast<long>(characterStart(view(), static_cast<std::size_t>(index)));
  sci(SCI_GOTOPOS, static_cast<unsigned long>(index));
}

void Editor::setSelText(std::string_view text) {
  if (isReadOnly()) return;
  const long start = sci(SCI_GETSELECTIONSTART);
  const long end = sci(SCI_GETSELECTIONEND);
  const auto size = static_cast<long>(text.size());
  // Explicit lengths so a NUL byte is inserted too; the delete and insert
  // undo as one step.
  sci(SCI_BEGINUNDOACTION);
  sci(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
  sciText(SCI_REPLACETARGET, static_cast<unsigned long>(size), text.data());
  sci(SCI_ENDUNDOACTION);
  sci(SCI_GOTOPOS, static_cast<unsigned long>(start + size));
  announcePendingChange();
}

long Editor::searchFrom(std::string_view text, long start, ByteSearchOptions options) const {
  if (start < 0 || start > length()) return -1;
  const std::size_t found = ByteSearch(text, options).findIn(view(), static_cast<std::size_t>(start));
  return found == ByteSearch::npos ? -1 : static_cast<long>(found);
}

QColor Editor::selectionBackground() { return selectionBack; }

long Editor::find(std::string_view text, long start, int options) {
  ByteSearchOptions search;
  search.wholeWord = (options & rtfWholeWord) != 0;
  search.matchCase = (options & rtfMatchCase) != 0;
  const long found = searchFrom(text, std::max(start, 0L), search);
  if (found < 0 || (options & rtfNoHighlight)) return found;
  const long end = found + static_cast<long>(text.size());
  // Caret at the end of the match, then scroll so the whole match shows,
  // its start first when it does not fit.
  sci(SCI_SETSEL, static_cast<unsigned long>(found), end);
  sci(SCI_SCROLLRANGE, static_cast<unsigned long>(end), found);
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
  const auto findSize = static_cast<long>(findText.size());
  const auto replacementSize = static_cast<long>(replacement.size());
  long shift = 0;  // how far the text after the last replacement has moved
  const bool wasModified = isModified();
  {
    // Listeners hear of the whole run once, afterwards, instead of twice
    // per replacement.
    const QSignalBlocker quiet(this);
    sci(SCI_SETMODEVENTMASK, 0);
    sci(SCI_BEGINUNDOACTION);
    for (const std::size_t match : matches) {
      const long start = static_cast<long>(match) + shift;
      sci(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), start + findSize);
      sciText(SCI_REPLACETARGET, static_cast<unsigned long>(replacementSize), replacement.data());
      shift += replacementSize - findSize;
    }
    sci(SCI_ENDUNDOACTION);
    sci(SCI_SETMODEVENTMASK, modificationEvents);
  }
  announceChange();
  if (!wasModified) emit modificationChanged(true);
  sci(SCI_GOTOPOS, static_cast<unsigned long>(static_cast<long>(matches.back()) + findSize + shift));
  return static_cast<long>(matches.size());
}

bool Editor::saveToFile(const std::string& path, std::string& errorText) const {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    errorText = errno != 0 ? std::strerror(errno) : "the file cannot be created";
    return false;
  }
  const std::string_view text = view();
  const bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  const int error = !written ? writeError : errno;
  errorText = error != 0 ? std::strerror(error) : "the file could not be written completely";
  return false;
}

}  // namespace vantrel::platform
