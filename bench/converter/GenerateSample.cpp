// serz_sample OUT.bin [MB]: writes the generated benchmark document as a
// binary file (default at least 50 MB of XML), for timing outside tools.
// --help (or -h) prints the usage; any other argument that starts with '-',
// or an MB that is not a whole number from 1 up, is a wrong command line
// (exit status 2), so that no file is written under an option's name.

#include "SampleDocument.h"
#include "converter/Codec.h"
#include "platform/core/Files.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: serz_sample OUT.bin [MB of XML]\n"
    "Writes a generated document as the binary OUT.bin; its XML is at least MB\n"
    "megabytes (50 when not given). A name that starts with '-' is given as ./NAME.\n";

constexpr std::size_t kMostMb = std::size_t{1} << 20;  // a terabyte of XML

std::optional<std::size_t> megabytes(std::string_view text) {
  std::size_t mb = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mb);
  if (error != std::errc() || end != text.data() + text.size() || mb == 0 || mb > kMostMb)
    return std::nullopt;
  return mb;
}

int wrongCommandLine() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2 || argc > 3 || argv[1][0] == '-' || argv[1][0] == '\0') return wrongCommandLine();
  const std::optional<std::size_t> mb = argc == 3 ? megabytes(argv[2]) : 50;
  if (!mb) return wrongCommandLine();
  auto bin = serz::xmlToBin(serz::bench::generateSampleXml(*mb << 20));
  if (!bin) {
    std::fprintf(stderr, "serz_sample: %s\n", bin.error().reason.c_str());
    return 1;
  }
  if (const auto failure = vantrel::files::replaceWhole(argv[1], bin.value())) {
    std::fprintf(stderr, "serz_sample: %s: %s\n", argv[1], failure->reason.c_str());
    return 1;
  }
  return 0;
}
