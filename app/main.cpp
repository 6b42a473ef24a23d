// Vantrel_BIN_Editor: the application object and the About dialog as the
// first window; the main window opens from its OK button.
#include <QApplication>
#include <QCoreApplication>

#include "platform/core/MessagePump.h"
#include "ui/qt/ApplicationIdentity.h"
#include "ui/qt/frmAbout.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  vantrel::qt::registerApplicationIdentity();
  // Waiting for the converter lets the window repaint and take clicks.
  vantrel::platform::setMessagePump([] { QCoreApplication::processEvents(); });

  vantrel::qt::frmAbout about;
  about.start(QCoreApplication::arguments());
  return app.exec();
}
