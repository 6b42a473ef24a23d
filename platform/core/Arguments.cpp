#include "platform/core/Arguments.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/core/WideText.h"
#endif

namespace vantrel::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
      arguments.push_back(platform::utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace vantrel::platform
