#include "ui/qt/QtEditorControl.h"

#include <Qsci/qscilexerxml.h>

#include "platform/editor/SciMessages.h"
#include "ui/qt/EditorAccessibility.h"

namespace vantrel::qt {

namespace sci = platform::sci;

// The core's message numbers are Scintilla's own.
#define VANTREL_CHECK_SCI(ours, theirs, number) \
  static_assert(sci::ours == QsciScintillaBase::theirs);
VANTREL_SCI_MESSAGES(VANTREL_CHECK_SCI)
#undef VANTREL_CHECK_SCI
static_assert(sci::kCodePageUtf8 == QsciScintillaBase::SC_CP_UTF8);

namespace {

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

platform::ScintillaLink directLink(QsciScintillaBase& control) {
  platform::ScintillaLink link;
  link.function = reinterpret_cast<platform::ScintillaLink::Function>(
      control.SendScintilla(QsciScintillaBase::SCI_GETDIRECTFUNCTION));
  link.pointer =
      static_cast<std::intptr_t>(control.SendScintilla(QsciScintillaBase::SCI_GETDIRECTPOINTER));
  return link;
}

}  // namespace

QtEditorControl::QtEditorControl(QWidget* parent) : QsciScintilla(parent) {
  installEditorAccessibility();
  // The core drives Scintilla directly; QScintilla's own idea of the text's
  // encoding must agree with it, so that typed and pasted characters go in
  // as UTF-8.
  setUtf8(true);
  setEolVisibility(false);
  setWrapMode(WrapNone);

  SendScintilla(SCI_SETMODEVENTMASK, modificationEvents);
  // QScintilla derives textChanged and linesChanged from the masked insert
  // and delete notifications. Scintilla's own change signal now comes from
  // the before-insert/before-delete notice, ahead of the edit, so the
  // announcement waits until the edit is done: at the end of the core's
  // editing methods, or from the event loop after a keystroke.
  connect(this, &QsciScintillaBase::SCEN_CHANGE, this, &QtEditorControl::changeComing);
  // The line-number margin follows the number of lines, also as the user
  // types; text that comes into view far ahead of the colouring is coloured.
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this] { editor_->viewUpdated(); });
  // A large document folds through the editor, which first reads the levels
  // of the clicked element.
  connect(this, &QsciScintillaBase::SCN_MARGINCLICK, this,
          [this](int position, int, int margin) { editor_->marginClicked(position, margin); });

  setSelectionBackgroundColor(selectionBack);
  setSelectionForegroundColor(selectionFore);

  editorFont_ = QFont(QStringLiteral("MS Sans Serif"), 12, QFont::Bold);
  editorFont_.setStyleHint(QFont::SansSerif);
  setFont(editorFont_);

  xmlLexer_ = new QsciLexerXML(this);
  xmlLexer_->setDefaultFont(editorFont_);
  xmlLexer_->setFont(editorFont_);

  platform::EditorHooks hooks;
  hooks.xmlColouring = [this] { useXmlColouring(); };
  hooks.changed = [this] { announceChange(); };
  editor_ = std::make_unique<platform::Editor>(directLink(*this), std::move(hooks));
}

QtEditorControl::~QtEditorControl() = default;

QColor QtEditorControl::selectionBackground() { return selectionBack; }

void QtEditorControl::changeComing() {
  if (changePending_) return;
  changePending_ = true;
  QMetaObject::invokeMethod(this, &QtEditorControl::announcePendingChange, Qt::QueuedConnection);
}

void QtEditorControl::announcePendingChange() {
  if (changePending_) announceChange();
}

void QtEditorControl::announceChange() {
  changePending_ = false;
  emit textChanged();
  const long lines = SendScintilla(SCI_GETLINECOUNT);
  if (lines == lineCount_) return;
  lineCount_ = lines;
  emit linesChanged();
}

void QtEditorControl::useXmlColouring() {
  setLexer(xmlLexer_);
  // Switching lexers resets the styles; keep the selection look.
  setSelectionBackgroundColor(selectionBack);
  setSelectionForegroundColor(selectionFore);
}

}  // namespace vantrel::qt
