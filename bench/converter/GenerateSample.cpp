// serz_sample OUT.bin [MB]: writes the generated benchmark document as a
// binary file (default at least 50 MB of XML), for timing outside tools.

#include "SampleDocument.h"
#include "converter/Codec.h"
#include "platform/core/Files.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: serz_sample OUT.bin [MB of XML]\n", stderr);
    return 2;
  }
  const std::size_t mb = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 50;
  auto bin = serz::xmlToBin(serz::bench::generateSampleXml(mb << 20));
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
