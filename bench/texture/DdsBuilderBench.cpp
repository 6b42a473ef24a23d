// Speed of the DDS builder on a 4096 x 4096 DXT3 texture: 16 MiB of data,
// written as serz writes a blob (upper-case 16-digit words, four to a line,
// CR LF), about 36 MB of hex text.
//
//   texture_bench                       run the benchmark
//   texture_bench --write-sample DIR    write DIR/texture.xml and DIR/data.hex
//                                       (the same hex alone) for compare_with_xxd.sh
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <variant>

#include "texture/DdsBuilder.h"

namespace {

constexpr std::size_t kDataBytes = std::size_t{4096} * 4096;  // DXT3: one byte per texel

std::string sampleHex() {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(kDataBytes * 2 + kDataBytes / 8 + kDataBytes / 16);
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < kDataBytes; ++i) {
    if (i > 0 && i % 32 == 0) {
      hex += "\r\n";
    } else if (i > 0 && i % 8 == 0) {
      hex += ' ';
    }
    state = state * 1664525u + 1013904223u;
    const auto byte = static_cast<std::uint8_t>(state >> 24);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::string sampleTexture(const std::string& hex) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet>\r\n"
         "\t<Format d:type=\"cDeltaString\">HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA</Format>\r\n"
         "\t<Width d:type=\"sUInt16\">4096</Width>\r\n\t<Height "
         "d:type=\"sUInt16\">4096</Height>\r\n"
         "\t<Data>\r\n<d:blob d:size=\"" +
         std::to_string(kDataBytes) + "\">\r\n" + hex +
         "\r\n</d:blob>\r\n\t</Data>\r\n</cRecordSet>\r\n";
}

void BM_BuildDds_4096x4096_Dxt3(benchmark::State& state) {
  const std::string text = sampleTexture(sampleHex());
  for (auto _ : state) {
    auto result = vantrel::texture::buildDds(text);
    if (!std::holds_alternative<std::vector<std::uint8_t>>(result)) {
      state.SkipWithError("the sample texture was refused");
      break;
    }
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["text_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_BuildDds_4096x4096_Dxt3)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int writeSample(const std::string& folder) {
  const std::string hex = sampleHex();
  std::ofstream(folder + "/texture.xml", std::ios::binary) << sampleTexture(hex);
  std::ofstream(folder + "/data.hex", std::ios::binary) << hex;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-sample") == 0) return writeSample(argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
