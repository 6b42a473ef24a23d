#include "platform/ui/Dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace vantrel::platform {

namespace {

// The real dialogs: Qt's file dialogs and message boxes.
class QtDialogs : public Dialogs {
 public:
  QString chooseFile(QWidget* parent, const FileDialogRequest& request) override {
    QString filter = toQtFilter(request.filter);
#ifndef _WIN32
    // On Windows "*.*" matches every name; Qt elsewhere would hide names
    // without a dot, which the program must be able to pick.
    filter.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
#endif
    if (request.save) {
      // The program replaces an existing file without asking, and uses the
      // name exactly as typed (no default suffix is set).
      return QFileDialog::getSaveFileName(parent, request.title, request.startFolder, filter,
                                          nullptr, QFileDialog::DontConfirmOverwrite);
    }
    return QFileDialog::getOpenFileName(parent, request.title, request.startFolder, filter);
  }

  void message(QWidget* parent, const QString& text, MessageIcon icon) override {
    QMessageBox::Icon qtIcon = QMessageBox::Information;
    switch (icon) {
      case MessageIcon::Stop:
        qtIcon = QMessageBox::Critical;
        break;
      case MessageIcon::Warning:
        qtIcon = QMessageBox::Warning;
        break;
      case MessageIcon::Information:
        qtIcon = QMessageBox::Information;
        break;
    }
    QMessageBox box(qtIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
  }
};

QtDialogs& qtDialogs() {
  static QtDialogs instance;
  return instance;
}

Dialogs* installed = nullptr;

}  // namespace

Dialogs& dialogs() { return installed ? *installed : qtDialogs(); }

void setDialogs(Dialogs* replacement) { installed = replacement; }

QString toQtFilter(const QString& pipeFilter) {
  // Pairs of description and pattern; Qt shows the description, which by
  // convention already names the pattern in parentheses.
  const QStringList parts = pipeFilter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString& description = parts[i];
    if (i + 1 < parts.size() && !description.contains(QLatin1Char('('))) {
      entries << description + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    } else {
      entries << description;
    }
  }
  return entries.join(QStringLiteral(";;"));
}

QString ScriptedDialogs::chooseFile(QWidget*, const FileDialogRequest& request) {
  fileRequests.push_back(request);
  if (answers.empty()) return QString();
  QString answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedDialogs::message(QWidget*, const QString& text, MessageIcon icon) {
  messages.push_back({text, icon});
}

}  // namespace vantrel::platform
