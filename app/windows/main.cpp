// Vantrel_BIN_Editor on Windows: the About dialog as the first window; the
// main window opens from its OK button, or at once when the command line
// names anything.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/core/Arguments.h"
#include "ui/win32/AboutDialog.h"
#include "ui/win32/Application.h"
#include "ui/win32/MessageLoop.h"

int main(int argc, char** argv) {
  vantrel::win32::startWindows();
  const std::vector<std::string> arguments = vantrel::platform::utf8Arguments(argc, argv);

  vantrel::win32::AboutDialog about;
  about.setOnFinished([] { PostQuitMessage(0); });
  about.start(
      std::vector<std::string>(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end()));
  return vantrel::win32::runMessageLoop();
}
