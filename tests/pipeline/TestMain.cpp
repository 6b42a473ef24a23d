#include <gtest/gtest.h>

#include <QApplication>

#include "platform/core/MessagePump.h"

// Real widgets need an application object; they run offscreen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vantrel_BIN_Editor"));
  vantrel::platform::setMessagePump([] { QCoreApplication::processEvents(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
