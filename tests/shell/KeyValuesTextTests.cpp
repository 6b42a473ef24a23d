// Valve KeyValues text as Steam writes its library list and app manifests,
// and the library list's two layouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/KeyValuesText.h"
#include "shell/SteamLibraries.h"
#include "tests/support/FakeSteamHome.h"

using vantrel::shell::KeyValues;
using vantrel::shell::libraryPathsInList;
using vantrel::shell::parseKeyValues;

namespace {

// As Steam writes it since 2021: numbered blocks with the path, the apps on
// that disk and counters.
const std::string kNewList =
    "\"libraryfolders\"\n{\n"
    "\t\"contentstatsid\"\t\t\"-4416152815237436463\"\n"
    "\t\"0\"\n\t{\n"
    "\t\t\"path\"\t\t\"/home/u/.local/share/Steam\"\n"
    "\t\t\"label\"\t\t\"\"\n"
    "\t\t\"totalsize\"\t\t\"0\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1021\"\n\t\t}\n"
    "\t}\n"
    "\t\"1\"\n\t{\n"
    "\t\t\"path\"\t\t\"/mnt/games disk/SteamLibrary\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"24010\"\t\t\"38294818\"\n\t\t}\n"
    "\t}\n"
    "}\n";

// The older layout: numbered texts beside Steam's counters.
const std::string kOldList =
    "\"LibraryFolders\"\n{\n"
    "\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n"
    "\t\"ContentStatsID\"\t\t\"-1\"\n"
    "\t\"1\"\t\t\"/mnt/old\"\n"
    "\t\"2\"\t\t\"D:\\\\SteamLibrary\"\n"
    "}\n";

std::vector<std::string> pathsIn(const std::string& text) {
  const auto parsed = parseKeyValues(text);
  EXPECT_TRUE(parsed.has_value()) << text;
  return parsed ? libraryPathsInList(*parsed) : std::vector<std::string>{};
}

}  // namespace

TEST(SteamLibraryList, BothLayoutsGiveTheNumberedLibrariesInOrder) {
  EXPECT_EQ(pathsIn(kNewList), (std::vector<std::string>{"/home/u/.local/share/Steam",
                                                         "/mnt/games disk/SteamLibrary"}));
  EXPECT_EQ(pathsIn(kOldList), (std::vector<std::string>{"/mnt/old", "D:\\SteamLibrary"}));
  // A block without a path, an empty path, a list under another name.
  EXPECT_TRUE(pathsIn("libraryfolders { 0 { label x } 1 { path \"\" } }").empty());
  EXPECT_TRUE(pathsIn("\"AppState\" { \"1\" \"/x\" }").empty());
  EXPECT_TRUE(pathsIn("\"libraryfolders\" \"/x\"").empty());
}

TEST(KeyValuesText, QuotesEscapesPlainTokensCommentsAndConditions) {
  const auto parsed = parseKeyValues(
      "// Steam's header comment\n"
      "Root { // after a brace\n"
      "  \"say \\\"hi\\\"\" \"back\\\\slash\"\n"
      "  plain token\n"
      "  \"windows\" \"C:\\Games\\x\"  // a single backslash stays\n"
      "  \"multi\" \"two\nlines\"\n"
      "  \"cond\" \"a\" [$WIN32]\n"
      "  \"next\" \"b\"\n"
      "  \"empty\" \"\"\n"
      "  Inner{deep{x y}}\n"
      "}");
  ASSERT_TRUE(parsed.has_value());
  const KeyValues* root = parsed->find("root");  // keys compare without case
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(root->isBlock);
  EXPECT_EQ(root->textOf("say \"hi\""), "back\\slash");
  EXPECT_EQ(root->textOf("PLAIN"), "token");
  EXPECT_EQ(root->textOf("windows"), "C:\\Games\\x");
  EXPECT_EQ(root->textOf("multi"), "two\nlines");
  EXPECT_EQ(root->textOf("cond"), "a");
  EXPECT_EQ(root->textOf("next"), "b");
  EXPECT_EQ(root->textOf("Inner"), "");  // a block has no text
  EXPECT_EQ(root->textOf("missing"), "");
  ASSERT_NE(root->find("inner"), nullptr);
  EXPECT_EQ(root->find("inner")->find("deep")->textOf("x"), "y");
  EXPECT_EQ(root->entries.size(), 8u);
}

TEST(KeyValuesText, BrokenTextGivesNothingAndNeverCrashes) {
  for (const char* text : {
           "\"libraryfolders\" { \"0\" { \"path\" \"/x\" }",  // a brace short
           "\"a\" \"b\" }",                                   // a brace too many
           "\"a\" \"unterminated",
           "\"a\" { \"b\" }",  // a key without a value before the brace
           "\"a\"",            // a key at the end
           "{ \"a\" \"b\" }",  // a block without a key
           "\"a\" \"b\\\"",    // the closing quote escaped away
       })
    EXPECT_FALSE(parseKeyValues(text).has_value()) << text;

  // Nesting far beyond any Steam file is refused, not followed down.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "a {";
  EXPECT_FALSE(parseKeyValues(deep).has_value());
  // So are more entries than any Steam file holds.
  std::string many = "a {";
  for (int i = 0; i < 250000; ++i) many += " k v";
  EXPECT_FALSE(parseKeyValues(many + " }").has_value());
  EXPECT_TRUE(parseKeyValues("a {" + many.substr(3, 4 * 5000) + " }").has_value());

  // Every cut of a real list either parses or is refused.
  for (std::size_t n = 0; n <= kNewList.size(); ++n) (void)parseKeyValues(kNewList.substr(0, n));

  // Blank text and comments: not broken.
  for (const char* text : {"", "  \n\t", "// only a comment", "a b // and one after"}) {
    const auto parsed = parseKeyValues(text);
    EXPECT_TRUE(parsed.has_value()) << text;
  }
}

TEST(KeyValuesText, FilesThatAreMissingFoldersOrHugeGiveNothing) {
  const vantrel::testing::FakeSteamHome temp;
  const std::filesystem::path& folder = temp.home();
  EXPECT_FALSE(vantrel::shell::readKeyValuesFile(folder / "missing.vdf").has_value());
  EXPECT_FALSE(vantrel::shell::readKeyValuesFile(folder).has_value());
  std::ofstream(folder / "list.vdf", std::ios::binary) << kOldList;
  const auto read = vantrel::shell::readKeyValuesFile(folder / "list.vdf");
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(libraryPathsInList(*read).size(), 2u);
  {
    // Valid text, but far larger than any list Steam writes.
    std::ofstream huge(folder / "huge.vdf", std::ios::binary);
    huge << "\"libraryfolders\" { ";
    const std::string filler(1 << 20, ' ');
    for (int i = 0; i < 9; ++i) huge << filler;
    huge << "\"1\" \"/x\" }";
  }
  EXPECT_FALSE(vantrel::shell::readKeyValuesFile(folder / "huge.vdf").has_value());
}
