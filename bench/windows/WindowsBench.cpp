// Speed of the Windows editor's work under Wine (or on Windows): the same
// cases as pipeline_bench and editor_bench on Linux, on Scintilla's Win32
// control in a shown window. Google Benchmark is not built for mingw, so
// this times each case a few times and prints the median.
//
//   windows_bench.exe              (bench/windows/run.sh builds and runs it)
//   windows_bench.exe --open FILE  opens one .bin end to end, once, and
//                                  prints the time (bench/windows/open_large.sh)
//   windows_bench.exe --load XML   loads a working XML as Open .bin does once
//                                  the converter has written it, and paints
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/editor/SceneryXml.h"
#include "bench/pipeline/RecordSetXml.h"
#include "pipeline/Document.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/core/Files.h"
#include "platform/core/RunProgram.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "search/Finder.h"
#include "tests/support/TestEditor.h"

namespace fs = std::filesystem;
using vantrel::platform::Editor;

namespace {

constexpr std::size_t MB = 1024 * 1024;

// Runs `prepare` (untimed) and then `timed` `runs` times; the median of
// the timed parts in milliseconds.
double medianMs(int runs, const std::function<void()>& prepare,
                const std::function<void()>& timed) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    timed();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void report(const char* name, double ms, const std::string& note = "") {
  std::printf("%-44s %9.1f ms  %s\n", name, ms, note.c_str());
  std::fflush(stdout);
}

// A fresh program folder: serz.exe and an empty TempFiles.
void makeProgramFolder(const fs::path& program) {
  std::error_code ignored;
  fs::remove_all(program, ignored);
  fs::create_directories(program / "TempFiles");
  fs::copy_file(SERZ_PATH, program / "serz.exe");
}

// What the document commands work on, as in the main window: scripted
// dialogs, a path box and a shown editor control, over a program folder.
struct OpenSession {
  explicit OpenSession(const fs::path& program)
      : ctx{&dialogs, &pathBox, &control->editor(), &document, program.string(), {}, {}, {}} {
    control->show();
  }
  vantrel::platform::ScriptedDialogs dialogs;
  vantrel::platform::PlainTextField pathBox;
  const std::unique_ptr<vantrel::testing::TestEditor> control = vantrel::testing::makeTestEditor();
  vantrel::pipeline::Document document;
  vantrel::pipeline::DocumentContext ctx;
};

// A program folder holding serz.exe and a .bin made from a 50 MB XML.
struct OpenBinFolder {
  fs::path root = fs::temp_directory_path() / "vantrel-windows-bench";
  fs::path program = root / "program";
  fs::path xml = root / "Large.xml";
  fs::path bin = root / "Large.bin";

  bool make(std::string& problem) {
    std::error_code ignored;
    fs::remove_all(root, ignored);
    makeProgramFolder(program);
    const std::string text = vantrel::bench::makeRecordSetXml(50 * MB);
    std::ofstream(xml, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    const auto result =
        vantrel::platform::runProgram("\"" + (program / "serz.exe").string() + "\" \"" +
                                          xml.string() + "\" bin:\"" + bin.string() + "\"",
                                      {});
    if (!result.succeeded() || !fs::exists(bin)) {
      problem = "serz.exe could not build the large .bin";
      return false;
    }
    return true;
  }
  ~OpenBinFolder() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

void openBinCases() {
  OpenBinFolder folder;
  std::string problem;
  if (!folder.make(problem)) {
    std::printf("Open .bin: %s\n", problem.c_str());
    return;
  }
  OpenSession session(folder.program);
  auto& [dialogs, pathBox, control, document, ctx] = session;
  Editor& editor = control->editor();
  const double open = medianMs(
      5, [&] { dialogs.answers = {folder.bin.string()}; },
      [&] {
        vantrel::pipeline::openBin(ctx);
        control->paint();
      });
  if (!dialogs.messages.empty())
    std::printf("Open .bin: %s\n", dialogs.messages.front().text.c_str());
  report("Open .bin of a 50 MB XML, end to end", open,
         "(goal 1500 ms; " + std::to_string(editor.length() / MB) + " MB in the editor)");

  std::string text;
  const double load = medianMs(5, nullptr, [&] {
    vantrel::files::readWhole(folder.xml.string(), text);
    editor.setBytes(text);
    control->paint();
  });
  report("  of which: read the XML and load it", load);
  const double read =
      medianMs(5, nullptr, [&] { vantrel::files::readWhole(folder.xml.string(), text); });
  report("  of which: read the XML", read);
  const double set = medianMs(5, nullptr, [&] {
    editor.setBytes(text);
    control->paint();
  });
  report("  of which: load it", set);
}

// One .bin opened as Open .bin opens it, with serz.exe beside this program.
int openOnce(const std::string& binPath) {
  const fs::path program = fs::temp_directory_path() / "vantrel-windows-open-once";
  makeProgramFolder(program);
  OpenSession session(program);
  auto& [dialogs, pathBox, control, document, ctx] = session;
  Editor& editor = control->editor();
  const auto start = std::chrono::steady_clock::now();
  const auto outcome = vantrel::pipeline::openBinFile(ctx, binPath);
  const auto opened = std::chrono::steady_clock::now();
  control->paint();
  const auto painted = std::chrono::steady_clock::now();
  const std::chrono::duration<double> took = painted - start, paint = painted - opened;
  std::error_code ignored;
  fs::remove_all(program, ignored);
  if (!outcome || !dialogs.messages.empty()) {
    std::printf("the open failed%s%s\n", dialogs.messages.empty() ? "" : ": ",
                dialogs.messages.empty() ? "" : dialogs.messages.front().text.c_str());
    return 1;
  }
  std::printf("opened %.0f MB of XML in %.2f s (of which the first paint %.2f s)\n",
              static_cast<double>(editor.length()) / 1e6, took.count(), paint.count());
  return 0;
}

// The editor's part of an open alone: the working XML read into the control.
int loadOnce(const std::string& xmlPath) {
  const auto control = vantrel::testing::makeTestEditor();
  control->show();
  Editor& editor = control->editor();
  const auto start = std::chrono::steady_clock::now();
  const auto failure = editor.loadFile(xmlPath);
  const auto loaded = std::chrono::steady_clock::now();
  control->paint();
  const auto painted = std::chrono::steady_clock::now();
  if (failure) {
    std::printf("the load failed\n");
    return 1;
  }
  const std::chrono::duration<double> load = loaded - start, paint = painted - loaded;
  std::printf("loaded %.0f MB of XML in %.2f s, first paint %.2f s\n",
              static_cast<double>(editor.length()) / 1e6, load.count(), paint.count());
  // The first keys typed at the end: each must find room after the text.
  editor.setSelStart(editor.length());
  double slowest = 0;
  for (int key = 0; key < 20; ++key) {
    const auto before = std::chrono::steady_clock::now();
    control->type('a');
    control->paint();
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - before;
    slowest = std::max(slowest, took.count());
  }
  std::printf("the slowest of the first 20 keys typed at the end: %.1f ms\n", slowest);
  return 0;
}

void editorCases() {
  const auto control = vantrel::testing::makeTestEditor();
  control->show();
  Editor& editor = control->editor();

  std::string working = vantrel::bench::makeSceneryXml(50 * MB, "Concrete");
  vantrel::bench::insertLineAt(working, 0.99, "Qwertyuiop");
  const double set = medianMs(
      5,
      [&] {
        editor.setBytes("");
        control->paint();
      },
      [&] {
        editor.setBytes(working);
        control->paint();
      });
  report("Set 50 MB and paint", set);
  const double clear = medianMs(
      5,
      [&] {
        editor.setBytes(working);
        control->paint();
      },
      [&] {
        editor.setBytes("");
        control->paint();
      });
  report("Clear 50 MB and paint", clear);
  const double over = medianMs(5, nullptr, [&] {
    editor.setBytes(working);
    control->paint();
  });
  report("Set 50 MB over 50 MB and paint", over);

  vantrel::search::Finder finder(editor);
  const double find = medianMs(
      20, [&] { editor.setSelStart(0); },
      [&] {
        finder.find("qwertyuiop", true);
        control->paint();
      });
  report("Find a rare word from the top of 50 MB", find,
         finder.state().lngFound < 0 ? "(not found!)" : "");

  const std::string sandstone = vantrel::bench::makeSceneryXml(10 * MB, "Sandstone");
  long replaced = 0;
  const double replaceAll = medianMs(
      5,
      [&] {
        editor.setBytes(sandstone);
        control->paint();
      },
      [&] {
        replaced = editor.replaceAll("sandstone", "Granite");
        control->paint();
      });
  report("Replace All in 10 MB", replaceAll,
         "(goal 500 ms; " + std::to_string(replaced) + " replacements)");

  editor.setBytes(working);
  editor.setSelStart(editor.length());
  control->paint();
  const double keystrokeAtEnd = medianMs(50, nullptr, [&] {
    control->type('a');
    control->paint();
  });
  report("Keystroke at the end of 50 MB", keystrokeAtEnd);
}

}  // namespace

int main(int argc, char** argv) {
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "--open") return openOnce(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--load") return loadOnce(argv[2]);
  std::printf("%-44s %12s\n", "case (median)", "time");
  openBinCases();
  editorCases();
  return 0;
}
