#include "shell/StartupArguments.h"

#include "platform/core/Files.h"

namespace vantrel::shell {

StartupRequest readStartupArguments(const std::vector<std::string>& arguments) {
  StartupRequest request;
  request.skipAbout = !arguments.empty();
  for (const std::string& argument : arguments) {
    if (files::kindOf(argument) == files::EntryKind::File) {
      request.fileToOpen = argument;
      break;
    }
  }
  return request;
}

}  // namespace vantrel::shell
