#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/StartupArguments.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

// Any argument skips the About dialog; the first that names an existing
// file is opened.
TEST(StartupArguments, AnyArgumentSkipsAboutAndTheFirstExistingFileOpens) {
  const fs::path file = fs::temp_directory_path() / "vantrel-startup-Z\xC3\xBCrich Hbf.bin";
  std::ofstream(file) << "x";
  struct Case {
    std::vector<std::string> arguments;
    bool skipAbout;
    std::string opens;
  };
  const Case cases[] = {
      {{}, false, ""},
      {{"go"}, true, ""},
      {{fs::temp_directory_path().string()}, true, ""},  // a folder is no file
      {{"/no/such/file.bin", file.string()}, true, file.string()},
  };
  for (const Case& c : cases) {
    const shell::StartupRequest request = shell::readStartupArguments(c.arguments);
    EXPECT_EQ(request.skipAbout, c.skipAbout);
    EXPECT_EQ(request.fileToOpen.value_or(""), c.opens);
  }
  fs::remove(file);
}

}  // namespace
}  // namespace vantrel::testing
