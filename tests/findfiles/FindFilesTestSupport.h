#pragma once
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "converter/Codec.h"
#include "findfiles/FindInFiles.h"
#include "platform/core/Utf8Text.h"
#include "platform/editor/ByteSearch.h"
#include "tests/archive/ZipBuilder.h"
#include "tests/core/TestSupport.h"

// Folders of SERZ files for the Find in Files tests: the shared fixtures,
// binaries made from XML that uses what the fixtures lack (escapes, blobs,
// text beyond ASCII, "::" names), and an archive holding them all.
namespace vantrel::test {

namespace fs = std::filesystem;

inline fs::path sharedFixtures() { return fs::path(VANTREL_SHARED_DIR) / "fixtures"; }

// XML using what the fixtures do not: every escape the writer makes, text
// beyond ASCII, an empty and a "::" name, a blob, a reference, numbers of
// every kind.
inline const char* kFeatureXml =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
    "d:id=\"-12\">\r\n"
    "\t<Track-cRouteName d:id=\"77\">\r\n"
    "\t\t<Name d:type=\"cDeltaString\">Fish &amp; Chips &lt;b&gt; &quot;Ann&apos;s&quot;"
    "&#9;tab&#10;line&#13;Zürich Ünter ÄÖ straße</Name>\r\n"
    "\t\t<e d:type=\"cDeltaString\">Kąty Wörth 日本 naïve-café</e>\r\n"
    "\t\t<Speed d:type=\"sFloat32\" d:alt_encoding=\"000000401E576540\" "
    "d:precision=\"string\">170.722</Speed>\r\n"
    "\t\t<Count d:type=\"sInt32\">-123456</Count>\r\n"
    "\t\t<Big d:type=\"sUInt64\">18180345525996167814</Big>\r\n"
    "\t\t<Link d:type=\"ref\">-2</Link>\r\n"
    "\t\t<Flag d:type=\"bool\">1</Flag>\r\n"
    "\t\t<Vector d:numElements=\"3\" d:elementType=\"sFloat32\" "
    "d:precision=\"string\">1.2345679 -0.0000000 0.5000000</Vector>\r\n"
    "\t\t<Driver>\r\n\t\t\t<d:nil/>\r\n\t\t</Driver>\r\n"
    "\t\t<Other/>\r\n"
    "\t\t<d:blob d:size=\"12\">DEADBEEFCAFEF00D 0A0B0C0D</d:blob>\r\n"
    "\t\t<Description d:type=\"cDeltaString\">A track in the hills of Wales, near "
    "Ffestiniog. Tabby the cat lives here.</Description>\r\n"
    "\t</Track-cRouteName>\r\n"
    "</cRecordSet>\r\n";

inline std::string binaryOf(const std::string& xml) {
  auto bin = serz::xmlToBin(xml);
  if (!bin) throw std::runtime_error("test XML does not convert: " + bin.error().message());
  return bin.value();
}

// The SERZ binaries of the shared fixtures, by file name, and those made
// from XML; empty when the shared folder is absent.
inline std::map<std::string, std::string> fixtureBinaries() {
  std::map<std::string, std::string> out;
  for (const char* sub : {"real", "serz"}) {
    const fs::path folder = sharedFixtures() / sub;
    std::error_code error;
    if (!fs::is_directory(folder, error)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string content = readFile(entry.path().string());
      const std::string name = entry.path().filename().string();
      if (content.starts_with("SERZ")) {
        out[name] = content;
      } else if (name.ends_with(".xml") && !name.ends_with(".bin.xml")) {
        auto bin = serz::xmlToBin(content);
        if (bin) out[name + ".bin"] = bin.value();
      }
    }
  }
  if (!out.empty()) out["Features.bin"] = binaryOf(kFeatureXml);
  return out;
}

inline void writeBinary(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  writeFile(path.string(), content);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
}

// The fixtures as a small route: loose under Loose/ (one with a name that
// does not say .bin), packed in Packed/Assets.ap, and files to leave
// alone (XML, a text file, an empty file). Returns the loose file names.
inline void buildRoute(const fs::path& root, const std::map<std::string, std::string>& bins) {
  std::size_t n = 0;
  for (const auto& [name, content] : bins)
    writeBinary(root / "Loose" / (n++ % 3 == 0 ? "Deep" : "") / name, content);
  writeFile((root / "Loose" / "notes.txt").string(), "Notes: SERZ is the format; Name Record");
  writeFile((root / "Loose" / "empty.bin").string(), "");
  writeFile((root / "Loose" / "Some.xml").string(), "<Name>Record</Name>");
  fs::create_directories(root / "Packed");
  ZipBuilder zip((root / "Packed" / "Assets.ap").string());
  for (const auto& [name, content] : bins) zip.add("Scenery/" + name, content);
  zip.add("readme.txt", "Name Record");
  zip.close();
}

// What a user would get by converting each file with serz and using the
// editor's Find: every match with its line and column.
struct ExpectedMatch {
  std::string file;
  long line;
  long column;
  std::uint64_t offset;
  bool operator<(const ExpectedMatch& o) const {
    return std::tie(file, offset) < std::tie(o.file, o.offset);
  }
  bool operator==(const ExpectedMatch&) const = default;
};

// Lines split at CR LF, CR or LF, as the editor splits them; columns
// count characters (a byte that is not UTF-8 is one).
inline std::vector<ExpectedMatch> expectedMatches(const std::string& display,
                                                  const std::string& xml,
                                                  const findfiles::FindOptions& o) {
  std::vector<std::size_t> lineStarts{0};
  for (std::size_t i = 0; i < xml.size(); ++i)
    if (xml[i] == '\n' || (xml[i] == '\r' && (i + 1 >= xml.size() || xml[i + 1] != '\n')))
      lineStarts.push_back(i + 1);
  std::vector<ExpectedMatch> out;
  const platform::ByteSearch search(o.text, {o.matchCase, o.wholeWord});
  for (std::size_t at : search.allIn(xml)) {
    const auto line = std::upper_bound(lineStarts.begin(), lineStarts.end(), at) - 1;
    long column = 1;
    for (std::size_t i = *line; i < at; i += platform::decodeUtf8(xml, i).length) ++column;
    out.push_back({display, static_cast<long>(line - lineStarts.begin()) + 1, column, at});
  }
  return out;
}

// A run to its end, everything it sent.
struct RunResult {
  std::vector<findfiles::Match> matches;
  std::vector<findfiles::Problem> problems;
  findfiles::Progress progress;
};

inline RunResult runToEnd(const std::vector<std::string>& folders,
                          const findfiles::FindOptions& options) {
  findfiles::FindRun run(folders, options);
  run.start();
  RunResult result;
  for (;;) {
    findfiles::Batch batch = run.take();
    for (auto& m : batch.matches) result.matches.push_back(std::move(m));
    for (auto& p : batch.problems) result.problems.push_back(std::move(p));
    result.progress = batch.progress;
    if (batch.finished) return result;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// A redirected state folder for the undo journal, for the test's lifetime.
class StateFolder {
 public:
  explicit StateFolder(const fs::path& folder) {
    fs::create_directories(folder);
#ifdef _WIN32
    _putenv_s("VANTREL_STATE_DIR", folder.string().c_str());
#else
    setenv("VANTREL_STATE_DIR", folder.string().c_str(), 1);
#endif
  }
  ~StateFolder() {
#ifdef _WIN32
    _putenv_s("VANTREL_STATE_DIR", "");
#else
    unsetenv("VANTREL_STATE_DIR");
#endif
  }
};

}  // namespace vantrel::test
