#include <gtest/gtest.h>

#include <QApplication>

#include "platform/core/MessagePump.h"
#include "shell/window/AppIdentity.h"

// Real windows need an application object; they run offscreen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // tests close windows at will
  vantrel::shell::registerApplicationIdentity();
  vantrel::platform::setMessagePump([] { QCoreApplication::processEvents(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
