// Replace in files and its undo, over the fixtures loose and packed, with
// files that must fail on their own without stopping the run.

#include <gtest/gtest.h>

#include <set>

#include "FindFilesTestSupport.h"

namespace vantrel::test {
namespace {

using findfiles::ReplaceOptions;

std::string replacedXml(const std::string& xml, const findfiles::FindOptions& o,
                        const std::string& replacement) {
  const platform::ByteSearch search(o.text, {o.matchCase, o.wholeWord});
  std::string out;
  std::size_t from = 0;
  for (std::size_t at : search.allIn(xml)) {
    out += xml.substr(from, at - from) + replacement;
    from = at + o.text.size();
  }
  return out + xml.substr(from);
}

// Every regular file under root with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) out[entry.path().string()] = readFile(entry.path().string());
  return out;
}

class ReplaceOverFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    bins_ = fixtureBinaries();
    if (bins_.empty()) GTEST_SKIP() << "no fixtures under " << sharedFixtures().string();
    buildRoute(route(), bins_);
    options_.find.text = "English";
    options_.find.wholeWord = true;
    options_.replacement = "Anglais";  // also in element names: it must stay a name
  }
  fs::path route() const { return folder_.path() / "route"; }
  std::vector<std::string> folders() const { return {route().string()}; }

  TempFolder folder_;
  StateFolder state_{folder_.path() / "state"};
  std::map<std::string, std::string> bins_;
  ReplaceOptions options_;
};

TEST_F(ReplaceOverFixtures, OnlyTheReplacedTextChangesAndUndoGivesEveryByteBack) {
  const auto before = snapshot(route());
  // Write loose: packed members become loose files beside the archive.
  options_.writeLoose = true;
  const findfiles::ReplaceReport report = findfiles::replaceInFiles(folders(), options_);
  EXPECT_TRUE(report.failed.empty())
      << report.failed.front().path << ": " << report.failed.front().reason;
  ASSERT_FALSE(report.written.empty());
  std::size_t replacements = 0, newFiles = 0;
  for (const findfiles::WrittenFile& w : report.written) {
    SCOPED_TRACE(w.written);
    const std::string original = w.source.isPacked()
                                     ? bins_.at(fs::path(w.source.member).filename().string())
                                     : before.at(w.source.path);
    const std::string want =
        replacedXml(serz::binToXml(original).value(), options_.find, options_.replacement);
    EXPECT_EQ(serz::binToXml(readFile(w.written)).value(), want);
    replacements += w.replacements;
    if (w.source.isPacked()) {
      ++newFiles;
      EXPECT_TRUE(w.backup.empty());
      EXPECT_EQ(fs::path(w.written).parent_path(), route() / "Packed" / "Scenery");
    } else {
      EXPECT_EQ(w.written, w.source.path);
      EXPECT_EQ(readFile(w.backup), original);  // the backup is the old file
    }
  }
  EXPECT_EQ(report.replacements, replacements);
  EXPECT_GT(newFiles, 0u);
  // Files without the word, and the archive, are as they were.
  const auto after = snapshot(route());
  for (const auto& [path, content] : before) {
    const bool written = std::any_of(report.written.begin(), report.written.end(),
                                     [&](const auto& w) { return w.written == path; });
    if (!written) {
      EXPECT_EQ(after.at(path), content) << path;
    }
  }

  ASSERT_TRUE(findfiles::canUndoReplace(folders()));
  const findfiles::UndoReport undo = findfiles::undoLastReplace(folders());
  EXPECT_TRUE(undo.left.empty());
  EXPECT_EQ(undo.restored.size(), report.written.size());
  // Byte for byte, and nothing more: backups and new loose files are gone.
  EXPECT_EQ(snapshot(route()), before);
  EXPECT_FALSE(findfiles::canUndoReplace(folders()));
  EXPECT_TRUE(findfiles::undoLastReplace(folders()).nothingToUndo);
}

TEST_F(ReplaceOverFixtures, PackedMembersAreLeftAndListedWithoutWriteLoose) {
  const findfiles::ReplaceReport report = findfiles::replaceInFiles(folders(), options_);
  ASSERT_FALSE(report.failed.empty());
  for (const auto& p : report.failed) {
    EXPECT_NE(p.path.find("Assets.ap::"), std::string::npos) << p.path;
    EXPECT_NE(p.reason.find("packed"), std::string::npos);
  }
  for (const auto& w : report.written) EXPECT_FALSE(w.source.isPacked());
  EXPECT_FALSE(fs::exists(route() / "Packed" / "Scenery"));
}

TEST_F(ReplaceOverFixtures, AFileChangedSinceIsLeftOnUndo) {
  options_.find.includePacked = false;
  const auto before = snapshot(route());
  const auto report = findfiles::replaceInFiles(folders(), options_);
  ASSERT_GE(report.written.size(), 2u);
  const std::string changed = report.written.front().written;
  writeFile(changed, readFile(changed) + "x");
  const findfiles::UndoReport undo = findfiles::undoLastReplace(folders());
  ASSERT_EQ(undo.left.size(), 1u);
  EXPECT_EQ(undo.left.front().path, changed);
  EXPECT_NE(undo.left.front().reason.find("changed since the replace"), std::string::npos);
  EXPECT_EQ(undo.restored.size(), report.written.size() - 1);
  for (const auto& w : report.written)
    if (w.written != changed) {
      EXPECT_EQ(readFile(w.written), before.at(w.written));
    }
  EXPECT_TRUE(fs::exists(report.written.front().backup));  // kept, not thrown away
}

TEST(Replace, AFailingFileStaysAsItWasAndTheRunGoesOn) {
  TempFolder folder;
  StateFolder state(folder.path() / "state");
  const std::string bin = binaryOf(kFeatureXml);
  const fs::path root = folder.path() / "route";
  for (const char* name : {"good.bin", "readonly.bin", "nobackups.bin"})
    writeBinary(root / name, bin);
  fs::permissions(root / "readonly.bin", fs::perms::owner_read | fs::perms::group_read);
  for (const char* suffix : {".bak", ".bak1", ".bak2", ".bak3", ".bak4"})
    writeFile((root / "nobackups.bin").string() + suffix, "kept");
  ReplaceOptions o;
  o.find.text = "Tabby";
  o.replacement = "Tibbles";
  const auto report = findfiles::replaceInFiles({root.string()}, o);
  fs::permissions(root / "readonly.bin", fs::perms::owner_all);
  ASSERT_EQ(report.written.size(), 1u);
  EXPECT_EQ(fs::path(report.written.front().written).filename(), "good.bin");
  std::map<std::string, std::string> failed;
  for (const auto& p : report.failed) failed[fs::path(p.path).filename().string()] = p.reason;
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_NE(failed["readonly.bin"].find("read-only"), std::string::npos);
  EXPECT_NE(failed["nobackups.bin"].find("backup names"), std::string::npos);
  EXPECT_EQ(readFile((root / "readonly.bin").string()), bin);
  EXPECT_EQ(readFile((root / "nobackups.bin").string()), bin);
  EXPECT_EQ(readFile((root / "nobackups.bin.bak4").string()), "kept");
  // No new version left lying beside them.
  for (const auto& entry : fs::directory_iterator(root))
    EXPECT_EQ(entry.path().string().find(".saving"), std::string::npos) << entry.path();
}

TEST(Replace, TextTheBinaryCannotHoldIsRefused) {
  TempFolder folder;
  StateFolder state(folder.path() / "state");
  const std::string bin = binaryOf(kFeatureXml);
  writeBinary(folder.path() / "a.bin", bin);
  struct Case {
    const char* text;
    const char* replacement;
    const char* reason;
  } cases[] = {
      // A float's text: the binary keeps the value of d:alt_encoding.
      {"170.722", "170.5", "does not give the replaced text"},
      // A type the format does not have.
      {"sInt32", "sBogus", "does not convert back"},
      // Markup broken by the replacement.
      {"</Description>", "", "does not convert back"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ReplaceOptions o;
    o.find.text = c.text;
    o.find.matchCase = true;
    o.replacement = c.replacement;
    const auto report = findfiles::replaceInFiles({folder.path().string()}, o);
    EXPECT_TRUE(report.written.empty());
    ASSERT_EQ(report.failed.size(), 1u);
    EXPECT_NE(report.failed.front().reason.find(c.reason), std::string::npos)
        << report.failed.front().reason;
    EXPECT_EQ(readFile(folder.file("a.bin")), bin);
  }
  EXPECT_FALSE(findfiles::canUndoReplace({folder.path().string()}));
}

TEST(Replace, ALooseFileMadeFromAMemberIsNotReplacedInAgain) {
  TempFolder folder;
  StateFolder state(folder.path() / "state");
  const fs::path root = folder.path() / "route";
  // Sub is there when the walk lists the route, and reached only after a
  // folder of other files: by then the loose files are being written.
  fs::create_directories(root / "Sub");
  fs::create_directories(root / "Filler");
  for (int i = 0; i < 1500; ++i) writeFile((root / "Filler" / std::to_string(i)).string(), "text");
  // Built with += : GCC 12 warns wrongly on "literal" + std::to_string().
  const auto memberName = [](int i) {
    std::string name = "m";
    name += std::to_string(i);
    name += ".bin";
    return name;
  };
  {
    ZipBuilder zip((root / "Assets.ap").string());
    for (int i = 0; i < 20; ++i) zip.add("Sub/" + memberName(i), binaryOf(kFeatureXml));
    zip.close();
  }
  ReplaceOptions o;
  o.find.text = "Tabby";
  o.replacement = "Tabby Tabby";  // holds the text again
  o.writeLoose = true;
  const auto report = findfiles::replaceInFiles({root.string()}, o);
  EXPECT_TRUE(report.failed.empty());
  EXPECT_EQ(report.written.size(), 20u);
  EXPECT_EQ(report.replacements, 20u);
  for (int i = 0; i < 20; ++i) {
    const std::string xml =
        serz::binToXml(readFile((root / "Sub" / memberName(i)).string())).value();
    EXPECT_EQ(platform::ByteSearch("Tabby", {true, false}).allIn(xml).size(), 2u);
  }
  // Nothing but the new loose files: no backups of them, no new versions.
  EXPECT_EQ(std::distance(fs::directory_iterator(root / "Sub"), fs::directory_iterator()), 20);
  EXPECT_EQ(report.written.size(), 20u);
}

TEST(Replace, AReplaceThatWritesNothingKeepsTheLastOneToUndo) {
  TempFolder folder;
  StateFolder state(folder.path() / "state");
  writeBinary(folder.path() / "a.bin", binaryOf(kFeatureXml));
  ReplaceOptions o;
  o.find.text = "Tabby";
  o.replacement = "Tom";
  EXPECT_EQ(findfiles::replaceInFiles({folder.path().string()}, o).written.size(), 1u);
  o.find.text = "NotInAnyFile";
  EXPECT_TRUE(findfiles::replaceInFiles({folder.path().string()}, o).written.empty());
  // Named another way, the same folder has the same journal.
  const std::string sameFolder = (folder.path() / "." / "").string();
  ASSERT_TRUE(findfiles::canUndoReplace({sameFolder}));
  EXPECT_EQ(findfiles::undoLastReplace({sameFolder}).restored.size(), 1u);
  EXPECT_EQ(readFile(folder.file("a.bin")), binaryOf(kFeatureXml));
}

}  // namespace
}  // namespace vantrel::test
