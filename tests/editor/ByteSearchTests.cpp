// The byte search behind Find and Replace All, checked against a plain
// scan on many random texts (its skip table must never jump over a match).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/editor/ByteSearch.h"
#include "platform/editor/WordCharacters.h"

using vantrel::platform::ByteSearch;
using vantrel::platform::ByteSearchOptions;
using vantrel::platform::isEditorWordCharacter;

namespace {

std::size_t plainFind(std::string_view text, std::string_view needle, std::size_t from, ByteSearchOptions options) {
  const auto fold = [&](char c) { return !options.matchCase && c >= 'A' && c <= 'Z' ? c + 32 : int{c}; };
  const auto word = [&](std::size_t i) { return isEditorWordCharacter(static_cast<unsigned char>(text[i])); };
  for (std::size_t at = from; !needle.empty() && at + needle.size() <= text.size(); ++at) {
    const std::size_t end = at + needle.size();
    if (!std::equal(needle.begin(), needle.end(), text.begin() + at, [&](char a, char b) { return fold(a) == fold(b); }))
      continue;
    if (options.wholeWord && ((at > 0 && word(at - 1) && word(at)) || (end < text.size() && word(end) && word(end - 1))))
      continue;
    return at;
  }
  return ByteSearch::npos;
}

}  // namespace

TEST(ByteSearch, AgreesWithAPlainScanOnRandomTexts) {
  std::mt19937 random(20261207);
  // A small alphabet makes near-misses and repeats common.
  const std::string alphabet("abAB_ .<\xe9\xc9\0", 11);
  const auto randomText = [&](std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    return text;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string text = randomText(random() % 120);  // long enough for the 16-byte filter
    const std::string needle = randomText(1 + random() % 5);
    const ByteSearchOptions options{(round & 1) != 0, (round & 2) != 0};
    const ByteSearch search(needle, options);
    const std::size_t from = random() % (text.size() + 2);
    ASSERT_EQ(search.findIn(text, from), plainFind(text, needle, from, options))
        << "round " << round << " from " << from;
  }
}
