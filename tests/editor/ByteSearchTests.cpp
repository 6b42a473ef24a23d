// The search behind Find and Replace All on UTF-8 text: which characters
// match, where words end, that no match splits a character, and - checked
// against a plain scan on many random texts - that its quick filter never
// skips a match.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Utf8Text.h"
#include "platform/editor/ByteSearch.h"
#include "platform/editor/CaseFolding.h"
#include "platform/editor/WordCharacters.h"

using vantrel::platform::ByteSearch;
using vantrel::platform::ByteSearchOptions;

namespace {

constexpr std::size_t npos = ByteSearch::npos;
constexpr ByteSearchOptions kAnyCase{false, false};
constexpr ByteSearchOptions kWholeWord{false, true};
constexpr ByteSearchOptions kMatchCase{true, false};

// A four-byte character (U+1F682, steam locomotive).
#define LOCOMOTIVE "\xF0\x9F\x9A\x82"

}  // namespace

TEST(ByteSearch, NonAsciiCasesWordsAndCharacterBoundaries) {
  struct Case {
    const char* text;
    const char* needle;
    ByteSearchOptions options;
    std::size_t found;
  };
  const Case cases[] = {
      // Case folding beyond ASCII: Latin-1, Latin Extended-A, Greek, Cyrillic.
      {"<Name>München</Name>", "MÜNCHEN", kAnyCase, 6},
      {"<Name>München</Name>", "MÜNCHEN", kMatchCase, npos},
      {"Kąty Wrocławskie", "KĄTY WROCŁAWSKIE", kAnyCase, 0},
      {"Gare de Besançon", "BESANÇON", kAnyCase, 8},
      {"CAFÉ", "café", kAnyCase, 0},
      {"ÿ", "Ÿ", kAnyCase, 0},                  // two different lead bytes
      {"Μέση ΟΔΌΣ", "μέση οδός", kAnyCase, 0},  // final sigma ς matches Σ
      {"ЯЗЫК", "язык", kAnyCase, 0},            // Я D0 AF, я D1 8F
      {"Třebíč", "TŘEBÍČ", kAnyCase, 0},
      // Left apart: the two forms differ in length, or fold into two letters.
      {"Straße", "STRAẞE", kAnyCase, npos},
      {"Straße", "STRASSE", kAnyCase, npos},
      {"\xE2\x84\xAA", "k", kAnyCase, npos},  // the Kelvin sign
      // Whole words: letters beyond ASCII belong to words, punctuation and symbols do not.
      {"Straße", "Stra", kWholeWord, npos},
      {"Tromsø", "Troms", kWholeWord, npos},
      {"Tromsø øl", "ØL", kWholeWord, 8},
      {"ßab", "ab", kWholeWord, npos},
      {"«Paris»", "paris", kWholeWord, 2},
      {"naïve", "na", kWholeWord, npos},
      {"Zug" LOCOMOTIVE, "zug", kWholeWord, 0},
      {"caf\xE9 caf", "caf", kWholeWord, 5},  // a byte that is not UTF-8 joins the word
      // A four-byte character, and matches right after multi-byte characters.
      {"a" LOCOMOTIVE "b", LOCOMOTIVE, kAnyCase, 1},
      {LOCOMOTIVE "X", LOCOMOTIVE "x", kAnyCase, 0},
      {"üa", "A", kAnyCase, 2},
      {"ää" LOCOMOTIVE "ä", "Ä", kWholeWord, 8},
      {"ääa", "A", kWholeWord, npos},
      {"€x", "X", kWholeWord, 3},
      // Never inside a character; bytes that are not UTF-8 match only themselves.
      {"ü", "\xBC", kAnyCase, npos},
      {"ü", "\xC3", kAnyCase, npos},
      {"\xC3x", "\xC3X", kAnyCase, 0},
      {"M\xFCnchen", "m\xFC", kAnyCase, 0},
      {"M\xFCnchen", "MÜ", kAnyCase, npos},
      {"\xE2\x82", "\xE2\x82", kMatchCase, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ByteSearch(c.needle, c.options).findIn(c.text, 0), c.found)
        << c.text << " / " << c.needle;
  }
}

// Non-overlapping matches of a needle whose case differs beyond ASCII.
TEST(ByteSearch, AllMatchesOfAFoldedNeedle) {
  const std::string text = "Grès GRÈS grès_grès GRÉS";
  EXPECT_EQ(ByteSearch("GRÈS", {}).allIn(text), (std::vector<std::size_t>{0, 6, 12, 18}));
}

namespace {

using vantrel::platform::decodeUtf8;
using vantrel::platform::isCharacterBoundary;

// The rules spelt out character by character, without the filter.
std::size_t plainFind(std::string_view text, std::string_view needle, std::size_t from,
                      ByteSearchOptions options) {
  using namespace vantrel::platform;
  const auto same = [&](std::size_t at) {
    for (std::size_t i = 0; i < needle.size();) {
      const Utf8Character n = decodeUtf8(needle, i), t = decodeUtf8(text, at + i);
      if (n.valid != t.valid || n.length != t.length) return false;
      const bool equal = !n.valid || options.matchCase
                             ? n.codePoint == t.codePoint
                             : foldCase(n.codePoint) == foldCase(t.codePoint);
      if (!equal) return false;
      i += n.length;
    }
    return true;
  };
  const auto joins = [&](std::size_t at) {  // a word runs on across at
    return at > 0 && at < text.size() && isWordCharacterAt(text, at) &&
           isWordCharacterBefore(text, at);
  };
  for (std::size_t at = from; !needle.empty() && at + needle.size() <= text.size(); ++at) {
    const std::size_t end = at + needle.size();
    if (!isCharacterBoundary(text, at) || !isCharacterBoundary(text, end) || !same(at)) continue;
    if (options.wholeWord && (joins(at) || joins(end))) continue;
    return at;
  }
  return npos;
}

}  // namespace

TEST(ByteSearch, AgreesWithAPlainScanOnRandomTexts) {
  std::mt19937 random(20261207);
  // A small alphabet makes near-misses and repeats common: ASCII, letters
  // beyond ASCII in both cases, a symbol, a four-byte character, and bytes
  // that are not UTF-8 (stray lead and trail bytes, Latin-1 é, NUL).
  const std::vector<std::string> alphabet = {
      "a",        "b",    "A",    "B",    "_",       " ", ".", "<", std::string(1, '\0'),
      "é",        "É",    "ß",    "ø",    "Ø",       "σ", "Σ", "ς", "€",
      LOCOMOTIVE, "\xC3", "\xA9", "\xE9", "\xE2\x82"};
  const auto randomText = [&](std::size_t tokens) {
    std::string text;
    for (std::size_t i = 0; i < tokens; ++i) text += alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 6000; ++round) {
    const std::string text = randomText(random() % 60);  // long enough for the 16-byte filter
    // Needles of whole tokens, or cut out of the text at any byte.
    std::string needle = randomText(1 + random() % 4);
    if (round % 3 == 0 && !text.empty()) {
      const std::size_t at = random() % text.size();
      needle = text.substr(at, 1 + random() % 6);
    }
    const ByteSearchOptions options{(round & 1) != 0, (round & 2) != 0};
    const ByteSearch search(needle, options);
    const std::size_t from = random() % (text.size() + 2);
    ASSERT_EQ(search.findIn(text, from), plainFind(text, needle, from, options))
        << "round " << round << " from " << from;
  }
}

// The folding table: folding is stable, keeps the UTF-8 length (so a match
// is as long as its needle), and every case variant folds alike.
TEST(CaseFolding, StableSameLengthAndSymmetric) {
  using namespace vantrel::platform;
  const auto utf8Length = [](char32_t c) {
    std::string bytes;
    appendUtf8(bytes, c);
    return bytes.size();
  };
  int folded = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const auto at = static_cast<std::uint32_t>(c);
    const char32_t f = foldCase(c);
    if (f == c) continue;
    ++folded;
    ASSERT_EQ(foldCase(f), f) << std::hex << at;
    ASSERT_EQ(utf8Length(f), utf8Length(c)) << std::hex << at;
    const std::vector<char32_t> variants = caseVariants(c);
    EXPECT_NE(std::find(variants.begin(), variants.end(), c), variants.end()) << std::hex << at;
    for (const char32_t v : variants) EXPECT_EQ(foldCase(v), f) << std::hex << at;
  }
  EXPECT_GT(folded, 1300);  // all cased scripts, not only Latin
  EXPECT_EQ(caseVariants(U'ς').size(), 3u);
}

TEST(WordCharacters, LettersBeyondAsciiJoinPunctuationAndSymbolsSeparate) {
  using namespace vantrel::platform;
  const auto word = [](const char* character) { return isWordCharacterAt(character, 0); };
  // Letters, an Arabic digit one, a combining acute accent.
  for (const char* letter : {"é", "ß", "ø", "ą", "Ω", "я", "中", "\u0661", "\u0301"})
    EXPECT_TRUE(word(letter)) << letter;
  // No-break space, punctuation, symbols, the ideographic space, an emoji.
  for (const char* separator :
       {"\u00A0", "«", "»", "„", "“", "–", "—", "…", "€", "©", "°", "×", "\u3000", LOCOMOTIVE})
    EXPECT_FALSE(word(separator)) << separator;
  EXPECT_TRUE(word("\xE9"));  // a byte that is not UTF-8
}
