#include "ui/qt/QtDialogs.h"

#include "ui/qt/MemberPickerDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>
#include <limits>

#include "ui/qt/QtText.h"

namespace vantrel::qt {

std::string QtDialogs::chooseFile(const platform::FileDialogRequest& request) {
  QString filter = toQtFilter(request.filter);
#ifndef _WIN32
  // On Windows "*.*" matches every name; Qt elsewhere would hide names
  // without a dot, which the program must be able to pick.
  filter.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
#endif
  const QString title = fromUtf8(request.title);
  QString start = fromUtf8(request.startFolder);
  // A file name given with the folder is filled into the dialog's name box.
  if (request.save && !request.fileName.empty())
    start = start.isEmpty() ? fromUtf8(request.fileName)
                            : start + QStringLiteral("/") + fromUtf8(request.fileName);
  QString chosen;
  if (request.save) {
    // The program replaces an existing file without asking, and uses the
    // name exactly as typed (no default suffix is set).
    chosen = QFileDialog::getSaveFileName(parent_, title, start, filter, nullptr,
                                          QFileDialog::DontConfirmOverwrite);
  } else {
    chosen = QFileDialog::getOpenFileName(parent_, title, start, filter);
  }
  return chosen.isEmpty() ? std::string() : toProgramPath(chosen);
}

void QtDialogs::message(const std::string& text, platform::MessageIcon icon) {
  QMessageBox::Icon qtIcon = QMessageBox::Information;
  switch (icon) {
    case platform::MessageIcon::Stop:
      qtIcon = QMessageBox::Critical;
      break;
    case platform::MessageIcon::Warning:
      qtIcon = QMessageBox::Warning;
      break;
    case platform::MessageIcon::Information:
      qtIcon = QMessageBox::Information;
      break;
  }
  QMessageBox box(qtIcon, QCoreApplication::applicationName(), fromUtf8(text), QMessageBox::Ok,
                  parent_);
  box.exec();
}

platform::Answer QtDialogs::ask(const std::string& text, bool withCancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), fromUtf8(text),
                  buttons, parent_);
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return platform::Answer::Yes;
    case QMessageBox::No:
      return platform::Answer::No;
    default:
      return withCancel ? platform::Answer::Cancel : platform::Answer::No;
  }
}

std::optional<long> QtDialogs::askNumber(const std::string& title, const std::string& prompt,
                                         long minimum, long maximum, long value) {
  // The spin box holds an int; beyond that the range is cut (2,147,483,647
  // lines is more than any text the editor holds).
  const auto clampInt = [](long v) {
    return static_cast<int>(std::clamp<long>(v, 0, std::numeric_limits<int>::max()));
  };
  bool ok = false;
  const int chosen =
      QInputDialog::getInt(parent_, fromUtf8(title), fromUtf8(prompt), clampInt(value),
                           clampInt(minimum), clampInt(maximum), 1, &ok);
  if (!ok) return std::nullopt;
  return chosen;
}

bool QtDialogs::pickMember(const std::string& title, archive::MemberPicker& picker) {
  MemberPickerDialog dialog(parent_, title, picker);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace vantrel::qt
