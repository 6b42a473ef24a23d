// In-memory speed of both directions on a generated document of at least
// 50 MB of XML, single thread. Throughput is reported in bytes of XML. The
// 500 MB case, through the serz program with its peak memory, is
// large_document.sh.

#include "SampleDocument.h"
#include "converter/Codec.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Sample {
  std::string bin, xml;
};

const Sample& sample() {
  static const Sample s = [] {
    Sample out;
    auto bin = serz::xmlToBin(serz::bench::generateSampleXml(50u << 20));
    if (!bin) std::abort();
    auto xml = serz::binToXml(bin.value());
    if (!xml) std::abort();
    out.bin = std::move(bin.value());
    out.xml = std::move(xml.value());
    std::fprintf(stderr, "sample: %.1f MB binary, %.1f MB XML\n", out.bin.size() / 1e6,
                 out.xml.size() / 1e6);
    return out;
  }();
  return s;
}

void BM_BinToXml(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    auto xml = serz::binToXml(s.bin);
    if (!xml) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(xml.value().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.xml.size()));
}

// What serz does: the XML handed on a megabyte at a time (here dropped).
class DiscardingSink final : public serz::ByteSink {
 public:
  bool write(std::string_view bytes) override {
    benchmark::DoNotOptimize(bytes.data());
    return true;
  }
};

void BM_BinToXmlStreamed(benchmark::State& state) {
  const Sample& s = sample();
  DiscardingSink sink;
  for (auto _ : state) {
    auto written = serz::binToXml(s.bin, sink);
    if (!written) state.SkipWithError("decode failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.xml.size()));
}

void BM_XmlToBin(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    auto bin = serz::xmlToBin(s.xml);
    if (!bin) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(bin.value().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.xml.size()));
}

void BM_XmlToBinStreamed(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    // What serz does: the XML taken from a source a few megabytes at a time.
    serz::TextSource source(s.xml);
    auto bin = serz::xmlToBin(source, s.xml.size());
    if (!bin) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(bin.value().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.xml.size()));
}

BENCHMARK(BM_BinToXml)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_BinToXmlStreamed)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_XmlToBin)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_XmlToBinStreamed)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
