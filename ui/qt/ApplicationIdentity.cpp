#include "ui/qt/ApplicationIdentity.h"

#include <QCoreApplication>

#include "shell/AppIdentity.h"

namespace vantrel::qt {

void registerApplicationIdentity() {
  QCoreApplication::setApplicationName(QString::fromLatin1(shell::kApplicationTitle));
  QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                              .arg(shell::kVersionMajor)
                                              .arg(shell::kVersionMinor)
                                              .arg(shell::kVersionRevision));
}

}  // namespace vantrel::qt
