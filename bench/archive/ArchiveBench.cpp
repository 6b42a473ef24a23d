// The listing must stay well under 0.2 s for a product's MainContent.ap of
// 10,000 members: it reads (and for deflated members, inflates) the first
// four bytes of every member.

#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "archive/Archive.h"
#include "archive/MemberPicker.h"

namespace {

namespace fs = std::filesystem;
using vantrel::archive::Archive;
using vantrel::archive::MemberPicker;

// SERZ-like content that deflates about as well as real binary files: a
// header, then repeating names and varying numbers.
std::string memberContent(int seed, std::size_t size) {
  std::string content = std::string("SERZ\x00\x00\x01\x00", 8);
  std::uint32_t x = 2463534242u + static_cast<std::uint32_t>(seed);
  while (content.size() < size) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    content += "\xff\x50";
    content += "cDynamicEntity"[x % 14];
    content.append(reinterpret_cast<const char*>(&x), 4);
  }
  content.resize(size);
  return content;
}

void addMember(zip_t* zip, const std::string& name, const std::string& content) {
  void* bytes = std::malloc(content.size());
  std::memcpy(bytes, content.data(), content.size());
  zip_source_t* source = zip_source_buffer(zip, bytes, content.size(), 1);
  const zip_int64_t index = zip_file_add(zip, name.c_str(), source, 0);
  if (index < 0) throw std::runtime_error(zip_strerror(zip));
  // The fastest level keeps writing the sample short; reading costs the same.
  zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
}

// 10,000 deflated members of 1 to 40 KB, one in five not a SERZ file, in
// 100 folders, plus one member of 50 MB; written once per run.
const std::string& sampleArchive() {
  static const std::string path = [] {
    const fs::path file = fs::temp_directory_path() / "vantrel-archive-bench.ap";
    int code = 0;
    zip_t* zip = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) throw std::runtime_error("cannot create " + file.string());
    for (int i = 0; i < 10000; ++i) {
      std::string content = memberContent(i, 1024 + (i * 7919) % (40 * 1024));
      if (i % 5 == 4) content.replace(0, 4, "<?xm");
      addMember(zip,
                "Assets/Folder" + std::to_string(i % 100) + "/Item" + std::to_string(i) + ".bin",
                content);
    }
    addMember(zip, "Assets/Large.bin", memberContent(1, 50 << 20));
    if (zip_close(zip) != 0) throw std::runtime_error("cannot write " + file.string());
    return file.string();
  }();
  return path;
}

void BM_ListTenThousandMembers(benchmark::State& state) {
  const std::string& path = sampleArchive();
  std::size_t members = 0;
  for (auto _ : state) {
    Archive archive;
    if (archive.open(path)) state.SkipWithError("cannot open the sample");
    members = archive.members().size();
    benchmark::DoNotOptimize(members);
  }
  state.counters["serz_members"] = static_cast<double>(members);
  state.counters["archive_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_ListTenThousandMembers)->Unit(benchmark::kMillisecond);

void BM_ExtractFiftyMegabytes(benchmark::State& state) {
  Archive archive;
  if (archive.open(sampleArchive())) state.SkipWithError("cannot open the sample");
  std::uint64_t index = 0, size = 0;
  for (const auto& m : archive.members())
    if (m.path == "Assets/Large.bin") index = m.index, size = m.size;
  const std::string to = (fs::temp_directory_path() / "vantrel-archive-bench.bin").string();
  for (auto _ : state)
    if (archive.extractMember(index, to)) state.SkipWithError("extraction failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  fs::remove(to);
}
BENCHMARK(BM_ExtractFiftyMegabytes)->Unit(benchmark::kMillisecond);

// One keystroke: the filter grows by a character, then is replaced.
void BM_FilterTenThousandRows(benchmark::State& state) {
  Archive archive;
  if (archive.open(sampleArchive())) state.SkipWithError("cannot open the sample");
  std::vector<vantrel::archive::Member> members = archive.members();
  while (members.size() < 10000) members.push_back(members[members.size() % 100]);
  MemberPicker picker(std::move(members));
  const char* filters[] = {"f", "fo", "FOLDER4", "folder42/", "item", "42"};
  std::size_t next = 0;
  for (auto _ : state) {
    picker.setFilter(filters[next++ % std::size(filters)]);
    benchmark::DoNotOptimize(picker.rowCount());
  }
}
BENCHMARK(BM_FilterTenThousandRows)->Unit(benchmark::kMicrosecond);

}  // namespace

// The sample is some 200 MB: it goes once the benchmarks have run.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove(fs::temp_directory_path() / "vantrel-archive-bench.ap", ignored);
  return 0;
}
