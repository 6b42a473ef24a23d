// The raw-bytes check must never rule out a file whose XML holds the
// needle: pieces of every fixture's XML, in both cases, are looked for in
// its binary.

#include <gtest/gtest.h>

#include "FindFilesTestSupport.h"
#include "findfiles/PreCheck.h"

namespace vantrel::test {
namespace {

using findfiles::detail::PreCheck;

bool xmlHolds(const std::string& xml, const std::string& needle, bool matchCase) {
  return platform::ByteSearch(needle, {matchCase, false}).findIn(xml, 0) !=
         platform::ByteSearch::npos;
}

std::string swapCase(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  return s;
}

// Needles from the XML itself: every piece between blanks and markup, and
// many substrings of every length up to 24 from everywhere in the text
// (element names, d:type values, numbers, hex, escapes, markup).
std::vector<std::string> needlesFrom(const std::string& xml) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= xml.size(); ++i) {
    if (i == xml.size() || std::string_view(" \t\r\n<>\"=").find(xml[i]) != std::string::npos) {
      if (i > start && out.size() < 5000) out.push_back(xml.substr(start, i - start));
      start = i + 1;
    }
  }
  std::uint32_t x = 12345;
  for (int n = 0; n < 3000; ++n) {
    x = x * 1664525u + 1013904223u;
    const std::size_t at = x % xml.size();
    const std::size_t length = 1 + (x >> 24) % 24;
    std::string piece = xml.substr(at, length);
    // Whole characters only, as a user types them.
    while (!piece.empty() && !platform::isCharacterBoundary(xml, at + piece.size()))
      piece.pop_back();
    if (!piece.empty() && platform::isCharacterBoundary(xml, at)) out.push_back(piece);
  }
  return out;
}

TEST(PreCheck, NeverRulesOutAFileWhoseXmlHoldsTheNeedle) {
  const auto bins = fixtureBinaries();
  if (bins.empty()) GTEST_SKIP() << "no fixtures under " << sharedFixtures().string();
  std::size_t checked = 0, applied = 0, ruledOut = 0;
  for (const auto& [name, bin] : bins) {
    SCOPED_TRACE(name);
    const std::string xml = serz::binToXml(bin).value();
    for (const std::string& base : needlesFrom(xml)) {
      for (const std::string& needle : {base, swapCase(base)}) {
        for (bool matchCase : {true, false}) {
          if (!xmlHolds(xml, needle, matchCase)) continue;
          const PreCheck check(needle, matchCase);
          ++checked;
          applied += check.applies();
          EXPECT_TRUE(check.mayMatch(bin))
              << "ruled out \"" << needle << "\" (match case " << matchCase << ")";
        }
      }
    }
    // And it does rule files out: a word of another file's strings.
    for (const char* absent : {"Ffestiniog", "Wörth_NotThere", "QuiteUnlikelyWord"}) {
      if (xmlHolds(xml, absent, false)) continue;
      ruledOut += !PreCheck(absent, false).mayMatch(bin);
    }
  }
  EXPECT_GT(checked, 20000u);
  EXPECT_GT(applied, checked / 20);  // the check is not simply always off
  EXPECT_GT(ruledOut, 2 * bins.size());
}

TEST(PreCheck, IsOffForTextTheWriterMakes) {
  for (const char* needle :
       {"d:type", "type",   "TYPE", "alt_enc",    "precision", "string",   "Elements", "kuju",
        "Delta",  "xml",    "utf",  "amp",        "quot",      "apos",     "lt",       "e",
        "nan",    "inf",    "0",    "123",        "1.5e+38",   "DEADBEEF", "F00D",     "Name>",
        "<Name",  "a b",    "x\ty", "Fish&Chips", "Track-c",   "#9",       "Ann's",    "sFloat32",
        "Float",  "cDelta", "bool", "ref",        "nil",       "blob",     "size"}) {
    EXPECT_TRUE(PreCheck::canMatchWriterText(needle, false)) << needle;
    EXPECT_FALSE(PreCheck(needle, false).applies()) << needle;
  }
  // Hex is upper case: with the case matched, lower-case letters are words.
  EXPECT_FALSE(PreCheck::canMatchWriterText("deadbeef", true));
  EXPECT_TRUE(PreCheck::canMatchWriterText("deadbeef", false));
}

TEST(PreCheck, IsOnForWordsOfStoredStrings) {
  for (const char* needle : {"Ffestiniog", "Tabby", "Zürich", "cRouteName", "Wales,", "_x9"}) {
    EXPECT_TRUE(PreCheck(needle, false).applies()) << needle;
    EXPECT_TRUE(PreCheck(needle, true).applies()) << needle;
  }
  const std::string bin = binaryOf(kFeatureXml);
  EXPECT_TRUE(PreCheck("ffestiniog", false).mayMatch(bin));
  EXPECT_FALSE(PreCheck("ffestiniog", true).mayMatch(bin));
  EXPECT_TRUE(PreCheck("ZÜRICH", false).mayMatch(bin));  // by its ASCII part
  EXPECT_TRUE(PreCheck("Zürich", true).mayMatch(bin));
  EXPECT_FALSE(PreCheck("Zurich", true).mayMatch(bin));
  // Beyond ASCII only, folded: nothing to look for, never ruled out.
  EXPECT_FALSE(PreCheck("日本", false).applies());
  EXPECT_TRUE(PreCheck("日本", true).applies());
  EXPECT_TRUE(PreCheck("日本", true).mayMatch(bin));
  EXPECT_FALSE(PreCheck("本日", true).mayMatch(bin));
}

}  // namespace
}  // namespace vantrel::test
