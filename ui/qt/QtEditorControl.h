#pragma once
#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QFont>
#include <memory>

#include "platform/editor/Editor.h"

// The editor control of the Qt window: a QScintilla widget, driven by the
// core's Editor through Scintilla's direct function. This class only
// creates the control, gives it the window's font and colours, switches the
// XML lexer on and off when the Editor asks, and keeps QScintilla's slow
// per-edit work away (see below).
//
// Signals: textChanged() after every change, once the text shows it (after
// the Editor's own edits, once for a whole Replace All, and from the event
// loop after typing, undo and redo), modificationChanged(bool) when the
// text leaves or regains its saved state, linesChanged() when the number of
// lines changes.
//
// Accessibility: each control gets a plain accessible object (no text
// interface for screen readers), because QScintilla's own one makes every
// edit cost O(position); see EditorAccessibility.h.
namespace vantrel::qt {

class QtEditorControl : public QsciScintilla {
  Q_OBJECT
 public:
  explicit QtEditorControl(QWidget* parent = nullptr);
  ~QtEditorControl() override;

  platform::Editor& editor() { return *editor_; }
  const platform::Editor& editor() const { return *editor_; }

  // The colour the selection is painted in, focused or not.
  static QColor selectionBackground();

 private:
  void useXmlColouring();
  void changeComing();
  void announcePendingChange();
  void announceChange();

  std::unique_ptr<platform::Editor> editor_;
  QFont editorFont_;
  QsciLexer* xmlLexer_ = nullptr;
  long lineCount_ = 1;
  bool changePending_ = false;
};

}  // namespace vantrel::qt
