// findfiles_route FOLDER COUNT [COMMON_PERCENT]: writes COUNT SERZ files of
// about 300 KB (2 MB of XML each) into FOLDER/Tiles/NNN/, for timing Find in
// Files. Every file's strings differ a little; "Wolverhampton" (the rare
// word) is in one file of 500, "Semaphore" (the common word, 20 times a
// file) in COMMON_PERCENT of them (75 when not given).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SampleDocument.h"
#include "converter/Codec.h"
#include "platform/core/Files.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs("usage: findfiles_route FOLDER COUNT [COMMON_PERCENT]\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const int count = std::atoi(argv[2]);
  const int commonPercent = argc == 4 ? std::atoi(argv[3]) : 75;
  if (count < 1 || commonPercent < 0 || commonPercent > 100) {
    std::fputs("findfiles_route: COUNT from 1, COMMON_PERCENT from 0 to 100\n", stderr);
    return 2;
  }
  std::string base[4];
  for (unsigned seed = 0; seed < 4; ++seed)
    base[seed] = serz::bench::generateSampleXml(std::size_t{2} << 20, seed + 1);
  for (int i = 0; i < count; ++i) {
    std::string notes;
    const auto note = [&](const std::string& text) {
      notes += "\t\t<Note d:type=\"cDeltaString\">" + text + "</Note>\r\n";
    };
    note("Tile " + std::to_string(i) + " of the route");
    if (i % 500 == 7) note("Signal box at Wolverhampton");
    if (i % 100 < commonPercent)
      for (int k = 0; k < 20; ++k)
        note("Semaphore " + std::to_string(k) + " on tile " + std::to_string(i));
    std::string xml = base[i % 4];
    const std::size_t at = xml.find("<Record>\r\n") + 10;
    xml.insert(at, notes);
    auto bin = serz::xmlToBin(xml);
    if (!bin) {
      std::fprintf(stderr, "findfiles_route: %s\n", bin.error().message().c_str());
      return 1;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Tiles/%03d/%06d.bin", i / 100, i);
    const std::filesystem::path file = folder / name;
    std::filesystem::create_directories(file.parent_path());
    if (const auto failure = vantrel::files::replaceWhole(file.string(), bin.value())) {
      std::fprintf(stderr, "findfiles_route: %s: %s\n", file.string().c_str(),
                   failure->reason.c_str());
      return 1;
    }
  }
  return 0;
}
