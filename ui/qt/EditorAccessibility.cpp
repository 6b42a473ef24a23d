#include "ui/qt/EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/qt/QtEditorControl.h"

namespace vantrel::qt {

namespace {

// Queried for each class name from the most derived one outwards, so an
// editor control is answered here before QScintilla's factory sees its base
// class.
QAccessibleInterface* plainEditorAccessible(const QString&, QObject* object) {
  auto* control = qobject_cast<QtEditorControl*>(object);
  if (control == nullptr) return nullptr;
  return new QAccessibleWidget(control, QAccessible::EditableText);
}

}  // namespace

void installEditorAccessibility() {
  // QAccessible ignores a factory that is already installed.
  QAccessible::installFactory(plainEditorAccessible);
}

}  // namespace vantrel::qt
