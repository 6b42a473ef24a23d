#include "platform/editor/EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "platform/editor/Editor.h"

namespace vantrel::platform {

namespace {

// Queried for each class name from the most derived one outwards, so an
// Editor is answered here before QScintilla's factory sees its base class.
QAccessibleInterface* plainEditorAccessible(const QString&, QObject* object) {
  auto* editor = qobject_cast<Editor*>(object);
  if (editor == nullptr) return nullptr;
  return new QAccessibleWidget(editor, QAccessible::EditableText);
}

}  // namespace

void installEditorAccessibility() {
  // QAccessible ignores a factory that is already installed.
  QAccessible::installFactory(plainEditorAccessible);
}

}  // namespace vantrel::platform
