// Speed of the editor on the largest documents: loading and painting,
// typing, Replace All and Find, each with the window really painted.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>

#include "bench/editor/SceneryXml.h"
#include "platform/editor/Editor.h"
#include "search/Finder.h"
#include "tests/support/TestEditor.h"

using vantrel::bench::insertLineAt;
using vantrel::bench::makeSceneryXml;
using vantrel::platform::Editor;

namespace {

constexpr std::size_t MB = 1024 * 1024;

// The editor in a shown window beside a find box, as in the main window.
struct Window {
  std::unique_ptr<vantrel::testing::TestEditor> control = vantrel::testing::makeTestEditor();
  Editor* editor = &control->editor();

  Window() { control->show(); }
  // Delivers pending events and paints the window now.
  void paint() { control->paint(); }
};

const std::string& working50Mb() {
  static const std::string xml = [] {
    std::string text = makeSceneryXml(50 * MB, "Concrete");
    insertLineAt(text, 0.99, "Qwertyuiop");
    return text;
  }();
  return xml;
}

const std::string& sandstone10Mb() {
  static const std::string xml = makeSceneryXml(10 * MB, "Sandstone");
  return xml;
}

// The same shapes with a place name beyond ASCII in every 20th entity.
const std::string& localised50Mb() {
  static const std::string xml = [] {
    std::string text = makeSceneryXml(50 * MB, "Concrete", 20);
    insertLineAt(text, 0.99, "Łódź Kaliska");
    return text;
  }();
  return xml;
}

const std::string& gres10Mb() {
  static const std::string xml = makeSceneryXml(10 * MB, "Grès", 20);
  return xml;
}

// Loads xml into the shown editor and paints it, each iteration; coloured
// as its size decides, or by the lexer whatever its size.
void setAndPaint(benchmark::State& state, const std::string& xml, bool byLexer = false) {
  Window window;
  if (byLexer) window.editor->setViewColouringFrom(std::size_t{1} << 40);
  for (auto _ : state) {
    window.editor->setBytes(xml);
    window.paint();
    state.PauseTiming();
    window.editor->setBytes("");
    window.paint();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}

void BM_Set50MbAndPaint(benchmark::State& state) { setAndPaint(state, working50Mb()); }
BENCHMARK(BM_Set50MbAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same with a style byte per text byte, as smaller documents have.
void BM_Set50MbAndPaintByLexer(benchmark::State& state) { setAndPaint(state, working50Mb(), true); }
BENCHMARK(BM_Set50MbAndPaintByLexer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_SetLocalised50MbAndPaint(benchmark::State& state) { setAndPaint(state, localised50Mb()); }
BENCHMARK(BM_SetLocalised50MbAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A keystroke at the end of a document of state.range(0) MB, coloured:
// what a user waits for on every key.
void BM_KeystrokeAtEnd(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const std::string xml = size == 50 ? working50Mb() : makeSceneryXml(size * MB, "Concrete");
  Window window;
  window.editor->setBytes(xml);
  window.editor->setSelStart(window.editor->length());
  window.paint();
  for (auto _ : state) {
    window.control->type('a');
    window.paint();
  }
}
BENCHMARK(BM_KeystrokeAtEnd)
    ->Arg(1)
    ->Arg(50)
    ->Arg(500)
    ->ArgName("MB")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(100);

// Fold All and Unfold All on 500 MB, then a fold of the root element by a
// click in the fold margin and its unfolding: each reads the levels of
// every line.
void BM_FoldAllAndClickTheRootIn500Mb(benchmark::State& state) {
  const std::string xml = makeSceneryXml(500 * MB, "Concrete");
  Window window;
  window.editor->setBytes(xml);
  window.paint();
  for (auto _ : state) {
    window.editor->foldAll(true);
    window.paint();
    window.editor->foldAll(false);
    window.paint();
    window.editor->goToLine(2);
    const long rootStart = window.editor->selStart();
    window.editor->marginClicked(rootStart, 1);
    window.paint();
    window.editor->marginClicked(rootStart, 1);
    window.paint();
  }
  state.counters["lines"] = static_cast<double>(window.editor->lineCount());
}
BENCHMARK(BM_FoldAllAndClickTheRootIn500Mb)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// Replace All of every `from` in xml, with the repaint, each iteration.
void replaceAllAndPaint(benchmark::State& state, const std::string& xml, std::string_view from,
                        std::string_view to) {
  Window window;
  long replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.editor->setBytes(xml);
    window.paint();
    state.ResumeTiming();
    replaced = window.editor->replaceAll(from, to);
    window.paint();
  }
  state.counters["replacements"] = static_cast<double>(replaced);
}

void BM_ReplaceAllIn10Mb(benchmark::State& state) {
  replaceAllAndPaint(state, sandstone10Mb(), "sandstone", "Granite");
}
BENCHMARK(BM_ReplaceAllIn10Mb)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A needle beyond ASCII in another case than the text's: every "Grès".
void BM_ReplaceAllLocalisedIn10Mb(benchmark::State& state) {
  replaceAllAndPaint(state, gres10Mb(), "GRÈS", "Granit");
}
BENCHMARK(BM_ReplaceAllLocalisedIn10Mb)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The largest case: every entity of a 50 MB scenery file, about 520,000
// replacements, then Ctrl+Z.
void BM_ReplaceAllIn50MbAndUndo(benchmark::State& state) {
  Window window;
  const std::string& xml = working50Mb();
  long replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.editor->setBytes(xml);
    window.paint();
    state.ResumeTiming();
    replaced = window.editor->replaceAll("concrete", "Granite");
    window.paint();
    window.editor->undo();
    window.paint();
  }
  state.counters["replacements"] = static_cast<double>(replaced);
}
BENCHMARK(BM_ReplaceAllIn50MbAndUndo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_UndoReplaceAllIn10Mb(benchmark::State& state) {
  Window window;
  const std::string& xml = sandstone10Mb();
  for (auto _ : state) {
    state.PauseTiming();
    window.editor->setBytes(xml);
    window.editor->replaceAll("sandstone", "Granite");
    window.paint();
    state.ResumeTiming();
    window.editor->undo();
    window.paint();
  }
}
BENCHMARK(BM_UndoReplaceAllIn10Mb)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Find of a word near the end of xml, from the top, whole words.
void findFromTop(benchmark::State& state, const std::string& xml, std::string_view word) {
  Window window;
  window.editor->setBytes(xml);
  window.paint();
  vantrel::search::Finder finder(*window.editor);
  for (auto _ : state) {
    window.editor->setSelStart(0);
    finder.find(word, true);
    window.paint();
  }
  if (finder.state().lngFound < 0) state.SkipWithError("the rare word was not found");
}

void BM_FindRareWordFromTopOf50Mb(benchmark::State& state) {
  findFromTop(state, working50Mb(), "qwertyuiop");
}
BENCHMARK(BM_FindRareWordFromTopOf50Mb)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

// A needle beyond ASCII in another case than the text's.
void BM_FindLocalisedWordFromTopOf50Mb(benchmark::State& state) {
  findFromTop(state, localised50Mb(), "ŁÓDŹ KALISKA");
}
BENCHMARK(BM_FindLocalisedWordFromTopOf50Mb)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

// `editor_bench --write-sample=PATH` writes the 10 MB document of the
// Replace All benchmark, so that sed can be timed on the same bytes.
bool writeSampleRequested(int argc, char** argv, int& exitCode) {
  constexpr const char* option = "--write-sample=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], option, std::strlen(option)) != 0) continue;
    std::ofstream out(argv[i] + std::strlen(option), std::ios::binary);
    out << sandstone10Mb();
    out.close();
    exitCode = out ? 0 : 1;
    if (!out) std::cerr << "cannot write " << argv[i] + std::strlen(option) << '\n';
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = 0;
  if (writeSampleRequested(argc, argv, exitCode)) return exitCode;
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
