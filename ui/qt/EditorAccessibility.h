#pragma once

// QScintilla's own accessible object keeps screen readers informed of every
// caret move by counting characters from the start of the document, which
// makes each keystroke cost O(position) on large files. This installs, once
// per process, an accessibility factory that gives every editor control a plain
// QAccessibleWidget instead (name, role and geometry, no text interface).
// QtEditorControl's constructor calls it; calling it again is harmless.
namespace vantrel::qt {

void installEditorAccessibility();

}  // namespace vantrel::qt
