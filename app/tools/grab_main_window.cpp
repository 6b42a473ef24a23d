// Makes the README's screenshot: opens a .bin through the main window's
// "....." button (the dialog answered by script), finds a word, and saves a
// grab of the window. Runs in a temporary program folder beside a copy of
// serz, so no settings of a real installation are read or written.
//
//   grab_main_window FILE.bin OUT.png
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/core/MessagePump.h"
#include "platform/core/ProgramFolder.h"
#include "platform/window/Dialogs.h"
#include "ui/qt/ApplicationIdentity.h"
#include "ui/qt/Form1.h"
#include "ui/qt/QtText.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: grab_main_window FILE.bin OUT.png\n");
    return 2;
  }
  vantrel::qt::registerApplicationIdentity();
  vantrel::platform::setMessagePump([] { QCoreApplication::processEvents(); });

  QTemporaryDir folder;
#ifdef _WIN32
  const QString converterName = QStringLiteral("serz.exe");
#else
  const QString converterName = QStringLiteral("serz");
#endif
  const QString converter =
      QCoreApplication::applicationDirPath() + QLatin1Char('/') + converterName;
  if (!folder.isValid() || !QFile::copy(converter, folder.filePath(converterName))) {
    std::fprintf(stderr, "grab_main_window: cannot copy %s\n", qPrintable(converter));
    return 1;
  }
  vantrel::platform::setProgramFolderForTests(vantrel::qt::toProgramPath(folder.path()));
  vantrel::platform::ScriptedDialogs dialogs;
  dialogs.answers.push_back(
      vantrel::qt::toProgramPath(QDir(QString::fromLocal8Bit(argv[1])).absolutePath()));
  vantrel::platform::setDialogsOverride(&dialogs);

  int status = 0;
  {
    vantrel::qt::Form1 window;
    window.show();
    QCoreApplication::processEvents();
    window.controls().Command1->click();
    window.controls().Text2->setText(QStringLiteral("Blueprint"));
    window.controls().Command4->click();
    QCoreApplication::processEvents();
    for (const auto& message : dialogs.messages) {
      std::fprintf(stderr, "grab_main_window: %s\n", message.text.c_str());
      status = 1;
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
      std::fprintf(stderr, "grab_main_window: cannot write %s\n", argv[2]);
      status = 1;
    }
    window.hide();  // not closed: no settings file for the throwaway folder
  }
  vantrel::platform::setDialogsOverride(nullptr);
  return status;
}
