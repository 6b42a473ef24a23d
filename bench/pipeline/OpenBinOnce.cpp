// Opens one .bin as Open .bin does (serz writes the working XML, the editor
// loads it and paints the window once) and prints the time, the XML size
// and the peak memory of this process and of the converter. Run it under
// /usr/bin/time for the whole process, start-up included.
//   open_bin_once FILE.bin
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pipeline/Document.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "tests/support/TestEditor.h"

namespace fs = std::filesystem;

namespace {

double peakMegabytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024 / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: open_bin_once FILE.bin\n");
    return 2;
  }
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  const fs::path program = fs::temp_directory_path() / "vantrel-open-once";
  fs::remove_all(program);
  fs::create_directories(program / "TempFiles");
  fs::create_symlink(SERZ_PATH, program / "serz");

  vantrel::platform::ScriptedDialogs dialogs;
  vantrel::platform::PlainTextField pathBox;
  const auto control = vantrel::testing::makeTestEditor();
  vantrel::platform::Editor& editor = control->editor();
  vantrel::pipeline::Document document;
  vantrel::pipeline::DocumentContext ctx{&dialogs,         &pathBox, &editor, &document,
                                         program.string(), {},       {},      {}};
  control->show();
  const auto start = std::chrono::steady_clock::now();
  const auto outcome = vantrel::pipeline::openBinFile(ctx, fs::absolute(argv[1]).string());
  control->paint();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  fs::remove_all(program);
  if (!outcome || !dialogs.messages.empty()) {
    std::fprintf(stderr, "the open failed%s%s\n", dialogs.messages.empty() ? "" : ": ",
                 dialogs.messages.empty() ? "" : dialogs.messages.front().text.c_str());
    return 1;
  }
  const double xmlMegabytes = static_cast<double>(editor.length()) / 1e6;
  std::printf(
      "opened %.0f MB of XML in %.2f s; peak %.0f MB in the editor (%.2f times the text), "
      "%.0f MB in the converter\n",
      xmlMegabytes, took.count(), peakMegabytes(RUSAGE_SELF),
      peakMegabytes(RUSAGE_SELF) / xmlMegabytes, peakMegabytes(RUSAGE_CHILDREN));
  return 0;
}
