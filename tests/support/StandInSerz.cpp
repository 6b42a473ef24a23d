// A stand-in for the converter where the tests cannot run a shell script
// (Windows): `serz IN bin:OUT` writes "SERZ" and IN's bytes to OUT,
// `serz IN xml:OUT` writes IN's bytes to OUT without a leading "SERZ".
// It copies the way the tests' copying converter script does, so the
// document commands can be tested with any text, and starts, quotes and
// waits like the real one. While a file serz.hold lies beside it, it waits
// before it ends (at most a minute), as a slow conversion would.
#include <windows.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/core/Arguments.h"
#include "platform/core/Files.h"

int main(int argc, char** argv) {
  using namespace vantrel;
  const std::vector<std::string> arguments = platform::utf8Arguments(argc, argv);
  if (arguments.size() != 3 || arguments[2].size() < 4 || arguments[2][3] != ':') {
    std::cerr << "usage: serz IN bin:OUT | serz IN xml:OUT\n";
    return 2;
  }
  const std::string format = arguments[2].substr(0, 3);
  const std::string out = arguments[2].substr(4);
  std::string content;
  if (const auto error = files::readWhole(arguments[1], content)) {
    std::cerr << "serz: " << arguments[1] << ": " << error->reason << '\n';
    return 1;
  }
  if (format == "bin") {
    content.insert(0, "SERZ");
  } else if (content.compare(0, 4, "SERZ") == 0) {
    content.erase(0, 4);
  }
  if (const auto error = files::replaceWhole(out, content)) {
    std::cerr << "serz: " << out << ": " << error->reason << '\n';
    return 1;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path hold = std::filesystem::path(self).parent_path() / "serz.hold";
  for (int waited = 0; std::filesystem::exists(hold) && waited < 60000; waited += 20) Sleep(20);
  return 0;
}
