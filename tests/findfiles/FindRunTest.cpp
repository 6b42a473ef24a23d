// The engine against "convert each file with the codec, then the editor's
// Find over its XML", over the shared fixtures loose and packed.

#include <gtest/gtest.h>

#include <set>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "FindFilesTestSupport.h"

namespace vantrel::test {
namespace {

using findfiles::FindOptions;

class FindRunOverFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    bins_ = fixtureBinaries();
    if (bins_.empty()) GTEST_SKIP() << "no fixtures under " << sharedFixtures().string();
    buildRoute(folder_.path(), bins_);
    // Each file converted once, for every needle and mode below.
    for (const auto& entry : fs::recursive_directory_iterator(folder_.path() / "Loose")) {
      if (!entry.is_regular_file()) continue;
      const std::string content = readFile(entry.path().string());
      if (content.starts_with("SERZ"))
        xmls_.emplace_back(entry.path().string(), serz::binToXml(content).value());
    }
    const std::string archive = (folder_.path() / "Packed" / "Assets.ap").string();
    for (const auto& [name, content] : bins_)
      xmls_.emplace_back(archive + "::Scenery/" + name, serz::binToXml(content).value());
  }

  // Every file's expected matches: loose and packed copies alike.
  std::vector<ExpectedMatch> expected(const FindOptions& o) const {
    std::vector<ExpectedMatch> out;
    for (const auto& [path, xml] : xmls_)
      for (auto& m : expectedMatches(path, xml, o)) out.push_back(m);
    std::sort(out.begin(), out.end());
    return out;
  }

  std::vector<ExpectedMatch> found(const RunResult& r) const {
    std::vector<ExpectedMatch> out;
    for (const auto& m : r.matches) {
      out.push_back({m.file.displayPath(), m.line, m.column, m.offset});
      // The line text holds the match where it says.
      EXPECT_LE(m.lineMatchStart + m.lineMatchLength, m.lineText.size());
      // Cut at the line's end only when the needle holds a line break.
      EXPECT_EQ(m.lineMatchLength, std::min(m.length, m.lineText.size() - m.lineMatchStart));
      EXPECT_EQ(m.lineText.find_first_of("\r\n"), std::string::npos);
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  TempFolder folder_;
  std::map<std::string, std::string> bins_;
  std::vector<std::pair<std::string, std::string>> xmls_;  // display path, XML
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif
#else
constexpr bool kUnderSanitizer = false;
#endif

TEST_F(FindRunOverFixtures, GivesWhatConvertingThenFindingGives) {
  const char* needles[] = {"Name",
                           "name",
                           "cDeltaString",
                           "d:type",
                           "sFloat32",
                           "e",
                           "1",
                           "0.0000000",
                           "Record",
                           "&amp;",
                           "&#9;",
                           "Zürich",
                           "ZÜRICH",
                           "日本",
                           "Track-cRouteName",
                           "DEADBEEF",
                           "deadbeef",
                           "-1",
                           "e d:type",
                           "\t<",
                           ">\r\n",
                           "kuju",
                           "Localisation-cUserLocalisedString",
                           "English",
                           "Tabby",
                           "ab",
                           "x"};
  std::size_t total = 0;
  int pair = 0;
  for (const char* needle : needles) {
    for (int mode = 0; mode < 4; ++mode, ++pair) {
      // Under the sanitizers decoding is many times slower: each needle is
      // tried in one of the four modes, in turn, so every mode still comes.
      if (kUnderSanitizer && pair % 4 != (pair / 4) % 4) continue;
      FindOptions o;
      o.text = needle;
      o.matchCase = mode & 1;
      o.wholeWord = mode & 2;
      o.jobs = 2;
      SCOPED_TRACE(std::string("needle ") + needle + " case " + std::to_string(o.matchCase) +
                   " word " + std::to_string(o.wholeWord));
      const RunResult r = runToEnd({folder_.path().string()}, o);
      EXPECT_TRUE(r.problems.empty())
          << r.problems.front().path << ": " << r.problems.front().reason;
      const auto want = expected(o);
      EXPECT_EQ(found(r), want);
      EXPECT_EQ(r.progress.matches, want.size());
      EXPECT_EQ(r.progress.filesFound, 2 * bins_.size());
      EXPECT_EQ(r.progress.filesDone, 2 * bins_.size());
      EXPECT_TRUE(r.progress.walkDone);
      total += want.size();
    }
  }
  EXPECT_GT(total, kUnderSanitizer ? 100u : 1000u);  // the needles do find things
}

TEST_F(FindRunOverFixtures, PackedMembersAreLeftOutWhenAsked) {
  FindOptions o;
  o.text = "Name";
  o.includePacked = false;
  const RunResult r = runToEnd({folder_.path().string()}, o);
  EXPECT_EQ(r.progress.filesFound, bins_.size());
  for (const auto& m : r.matches) EXPECT_FALSE(m.file.isPacked());
  EXPECT_FALSE(r.matches.empty());
}

TEST_F(FindRunOverFixtures, AFolderGivenTwiceOrInsideAnotherIsSearchedOnce) {
  FindOptions o;
  o.text = "Name";
  const RunResult once = runToEnd({folder_.path().string()}, o);
  const RunResult twice = runToEnd(
      {folder_.path().string(), (folder_.path() / "Loose").string(), folder_.path().string()}, o);
  EXPECT_EQ(once.matches.size(), twice.matches.size());
  EXPECT_EQ(once.progress.filesFound, twice.progress.filesFound);
}

TEST(FindRunPlaces, ColumnsCountCharactersTabsAndStrayBytesAsTheEditorDoes) {
  TempFolder folder;
  // "\t\t<Name ...>é日本 x" and a stray byte: columns count characters.
  writeBinary(folder.path() / "a.bin", binaryOf(kFeatureXml));
  FindOptions o;
  o.text = "Wörth";
  const RunResult r = runToEnd({folder.path().string()}, o);
  ASSERT_EQ(r.matches.size(), 1u);
  const auto& m = r.matches.front();
  EXPECT_EQ(m.line, 5);
  // Two tabs, then <e d:type="cDeltaString">Kąty (ą is one character).
  const long tag = static_cast<long>(std::string("<e d:type=\"cDeltaString\">").size());
  EXPECT_EQ(m.column, 2 + tag + 5 + 1);
  EXPECT_EQ(m.lineText.substr(m.lineMatchStart, m.lineMatchLength), "Wörth");
}

TEST(FindRunPlaces, AVeryLongLineIsCutAroundTheMatchBetweenCharacters) {
  TempFolder folder;
  std::string value;
  for (int i = 0; i < 3000; ++i) value += "ä";
  value += "NEEDLE";
  for (int i = 0; i < 3000; ++i) value += "日";
  const std::string xml = std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n") +
                          "<R xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">\r\n"
                          "\t<V d:type=\"cDeltaString\">" +
                          value + "</V>\r\n</R>\r\n";
  writeBinary(folder.path() / "long.bin", binaryOf(xml));
  FindOptions o;
  o.text = "needle";
  const RunResult r = runToEnd({folder.path().string()}, o);
  ASSERT_EQ(r.matches.size(), 1u);
  const auto& m = r.matches.front();
  EXPECT_EQ(m.line, 3);
  const long tag = static_cast<long>(std::string("<V d:type=\"cDeltaString\">").size());
  EXPECT_EQ(m.column, 1 + tag + 3000 + 1);
  EXPECT_LT(m.lineText.size(), 600u);
  EXPECT_EQ(m.lineText.substr(m.lineMatchStart, 6), "NEEDLE");
  // Whole characters only at both cuts.
  EXPECT_EQ(m.lineText.find_first_not_of("\xC3\xA4"), m.lineMatchStart);
  EXPECT_EQ(m.lineText.substr(m.lineText.size() - 3), "日");
}

TEST(FindRunProblems, ABrokenFileOrArchiveIsReportedAndTheRunGoesOn) {
  TempFolder folder;
  writeBinary(folder.path() / "good.bin", binaryOf(kFeatureXml));
  // Whole strings, then records that do not decode.
  const std::string broken = binaryOf(kFeatureXml) + "\xFF\x50\x01";
  writeBinary(folder.path() / "broken.bin", broken);
  writeFile(folder.file("damaged.ap"), "PK\x03\x04 this is not a whole ZIP file");
  FindOptions o;
  o.text = "Tabby";
  const RunResult r = runToEnd({folder.path().string(), folder.file("missing")}, o);
  ASSERT_EQ(r.matches.size(), 1u);
  EXPECT_EQ(fs::path(r.matches.front().file.path).filename(), "good.bin");
  std::set<std::string> troubled;
  for (const auto& p : r.problems) troubled.insert(fs::path(p.path).filename().string());
  // "Tabby" is in the broken file's strings, so it is decoded, and fails.
  EXPECT_TRUE(troubled.count("broken.bin"));
  EXPECT_TRUE(troubled.count("damaged.ap"));
  EXPECT_TRUE(troubled.count("missing"));
}

TEST(FindRunProblems, LinkLoopsEndAndAreReported) {
#ifdef _WIN32
  GTEST_SKIP() << "folder links need rights a test does not have on Windows";
#else
  TempFolder folder;
  writeBinary(folder.path() / "a" / "b" / "one.bin", binaryOf(kFeatureXml));
  fs::create_directory_symlink(folder.path() / "a", folder.path() / "a" / "b" / "up");
  fs::create_directory_symlink(folder.path() / "a" / "b", folder.path() / "side");
  FindOptions o;
  o.text = "Tabby";
  const RunResult r = runToEnd({folder.path().string()}, o);
  EXPECT_EQ(r.matches.size(), 1u);
  EXPECT_EQ(r.progress.filesFound, 1u);
  bool loopReported = false;
  for (const auto& p : r.problems)
    loopReported = loopReported || p.reason.find("searched already") != std::string::npos;
  EXPECT_TRUE(loopReported);
#endif
}

TEST(FindRunProblems, AnUnreadableFolderIsReportedAndSkipped) {
#ifdef _WIN32
  GTEST_SKIP() << "permission bits do not lock a folder on Windows";
#else
  // root reads any folder whatever its bits, so there is nothing to see.
  if (geteuid() == 0) GTEST_SKIP() << "running as root, which can read a chmod 000 folder";
  TempFolder folder;
  writeBinary(folder.path() / "open" / "one.bin", binaryOf(kFeatureXml));
  writeBinary(folder.path() / "shut" / "two.bin", binaryOf(kFeatureXml));
  fs::permissions(folder.path() / "shut", fs::perms::none);
  FindOptions o;
  o.text = "Tabby";
  const RunResult r = runToEnd({folder.path().string()}, o);
  fs::permissions(folder.path() / "shut", fs::perms::owner_all);
  EXPECT_EQ(r.matches.size(), 1u);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(fs::path(r.problems.front().path).filename(), "shut");
#endif
}

TEST(FindRunStop, StopEndsALargeRunPromptly) {
  TempFolder folder;
  const std::string bin = binaryOf(kFeatureXml);
  for (int i = 0; i < 3000; ++i) {
    std::string name = std::to_string(i);
    name += ".bin";
    writeBinary(folder.path() / name, bin);
  }
  FindOptions o;
  o.text = "e";  // matches everywhere, no pre-check
  o.jobs = 2;
  findfiles::FindRun run({folder.path().string()}, o);
  run.start();
  while (run.take().progress.filesDone == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const auto asked = std::chrono::steady_clock::now();
  run.stop();
  findfiles::Batch batch;
  do batch = run.take();
  while (!batch.finished && std::chrono::steady_clock::now() - asked < std::chrono::seconds(5));
  EXPECT_TRUE(batch.finished);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));
  EXPECT_LT(batch.progress.filesDone, 3000u);
  run.wait();
}

TEST(FindRunWalk, BackupsAndNewVersionsBesideFilesAreLeftOut) {
  TempFolder folder;
  const std::string bin = binaryOf(kFeatureXml);
  for (const char* name : {"a.bin", "a.bin.bak", "a.bin.bak4", "a.saving.bin", "a.saving2.bin",
                           ".vantrel-1a2b3c", "a.bak.bin", "saving.bin"})
    writeBinary(folder.path() / name, bin);
  FindOptions o;
  o.text = "Tabby";
  const RunResult r = runToEnd({folder.path().string()}, o);
  std::set<std::string> names;
  for (const auto& m : r.matches) names.insert(fs::path(m.file.path).filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"a.bin", "a.bak.bin", "saving.bin"}));
}

TEST(FindRunStop, EmptyTextFindsNothingAndFinishes) {
  TempFolder folder;
  writeBinary(folder.path() / "a.bin", binaryOf(kFeatureXml));
  const RunResult r = runToEnd({folder.path().string()}, FindOptions{});
  EXPECT_TRUE(r.matches.empty());
  EXPECT_EQ(r.progress.filesDone, 1u);
}

}  // namespace
}  // namespace vantrel::test
