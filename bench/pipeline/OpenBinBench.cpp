// Open .bin end to end on a large file: the converter writing the working
// XML, reading it whole and loading it into the editor.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/pipeline/RecordSetXml.h"
#include "pipeline/Document.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "tests/support/TestEditor.h"

namespace fs = std::filesystem;

namespace {

struct BenchFolder {
  fs::path root = fs::temp_directory_path() / "vantrel-open-bench";
  fs::path program = root / "program";
  fs::path bin = root / "Large.bin";
  bool ready = false;
  std::string problem;

  BenchFolder() {
    fs::remove_all(root);
    fs::create_directories(program / "TempFiles");
    fs::create_symlink(SERZ_PATH, program / "serz");
    const fs::path xml = root / "Large.xml";
    {
      const std::string text = vantrel::bench::makeRecordSetXml(50u << 20);
      std::ofstream(xml, std::ios::binary)
          .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::string command = "\"";
    command.append((program / "serz").string()).append("\" \"").append(xml.string());
    command.append("\" bin:\"").append(bin.string()).append("\"");
    if (std::system(command.c_str()) != 0 || !fs::exists(bin)) {
      problem = "serz could not build the large .bin";
      return;
    }
    ready = true;
  }
  ~BenchFolder() { fs::remove_all(root); }
};

BenchFolder& benchFolder() {
  static BenchFolder folder;
  return folder;
}

void BM_OpenBin50MB(benchmark::State& state) {
  BenchFolder& folder = benchFolder();
  if (!folder.ready) {
    state.SkipWithError(folder.problem.c_str());
    return;
  }
  vantrel::platform::ScriptedDialogs dialogs;
  vantrel::platform::PlainTextField pathBox;
  const auto control = vantrel::testing::makeTestEditor();
  vantrel::platform::Editor& editor = control->editor();
  vantrel::pipeline::Document document;
  vantrel::pipeline::DocumentContext ctx{
      &dialogs, &pathBox, &editor, &document, folder.program.string(), {}, {}, {}};
  for (auto _ : state) {
    dialogs.answers = {folder.bin.string()};
    vantrel::pipeline::openBin(ctx);
    if (!dialogs.messages.empty()) {
      state.SkipWithError(dialogs.messages.front().text.c_str());
      break;
    }
  }
  state.counters["xml_bytes"] = static_cast<double>(editor.length());
}
BENCHMARK(BM_OpenBin50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The editor's share alone: the working XML read whole and loaded.
void BM_LoadWorkingXml50MB(benchmark::State& state) {
  BenchFolder& folder = benchFolder();
  const fs::path xml = folder.root / "Large.xml";
  const auto control = vantrel::testing::makeTestEditor();
  vantrel::platform::Editor& editor = control->editor();
  for (auto _ : state) {
    std::string text;
    if (vantrel::files::readWhole(xml.string(), text)) {
      state.SkipWithError("the large XML could not be read");
      break;
    }
    editor.setBytes(text);
  }
  state.counters["xml_bytes"] = static_cast<double>(editor.length());
}
BENCHMARK(BM_LoadWorkingXml50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
