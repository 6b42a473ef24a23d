#pragma once
#include <optional>
#include <string>
#include <vector>

// What the command line asks of the program at start: any argument skips
// the About dialog; the first one that names an existing file is opened
// once the main window shows (as file managers' "Open with" and file
// associations pass it).
namespace vantrel::shell {

struct StartupRequest {
  bool skipAbout = false;
  std::optional<std::string> fileToOpen;
};

// arguments: what follows the program name, in UTF-8.
StartupRequest readStartupArguments(const std::vector<std::string>& arguments);

}  // namespace vantrel::shell
