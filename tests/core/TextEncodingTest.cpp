// UTF-8 as the program walks it (characters, boundaries, bytes that are not
// UTF-8) and its UTF-16 form for the wide Windows API.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Utf8Text.h"
#include "platform/core/WideText.h"

using namespace vantrel::platform;

TEST(Utf8Text, DecodesValidCharactersAndTakesEveryOtherByteAlone) {
  struct Case {
    std::string bytes;
    char32_t codePoint;
    std::size_t length;
    bool valid;
  };
  const Case cases[] = {
      {"a", 'a', 1, true},
      {std::string(1, '\0'), 0, 1, true},
      {"\xC3\xBC", 0xFC, 2, true},              // ü
      {"\xE2\x82\xAC", 0x20AC, 3, true},        // €
      {"\xF0\x9F\x9A\x82", 0x1F682, 4, true},   // a four-byte character
      {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true},  // the last code point
      {"\xFC", 0xFC, 1, false},                 // Latin-1 ü
      {"\xBC", 0xBC, 1, false},                 // a trail byte alone
      {"\xC3", 0xC3, 1, false},                 // cut short by the end
      {"\xC3x", 0xC3, 1, false},                // bad trail byte
      {"\xC0\xAF", 0xC0, 1, false},             // overlong forms
      {"\xE0\x80\xAF", 0xE0, 1, false},
      {"\xF0\x8F\xBF\xBF", 0xF0, 1, false},
      {"\xED\xA0\x80", 0xED, 1, false},      // a surrogate
      {"\xF4\x90\x80\x80", 0xF4, 1, false},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", 0xF5, 1, false},
  };
  for (const Case& c : cases) {
    const Utf8Character got = decodeUtf8(c.bytes, 0);
    EXPECT_EQ(got.codePoint, c.codePoint) << c.bytes;
    EXPECT_EQ(got.length, c.length) << c.bytes;
    EXPECT_EQ(got.valid, c.valid) << c.bytes;
    if (c.valid) {
      std::string encoded;
      appendUtf8(encoded, c.codePoint);
      EXPECT_EQ(encoded, c.bytes);
    }
  }
}

TEST(Utf8Text, BoundariesFallBetweenCharacters) {
  // a ü € [stray trail] [Latin-1 é] locomotive b
  const std::string text =
      "a\xC3\xBC\xE2\x82\xAC\xBC\xE9\xF0\x9F\x9A\x82"
      "b";
  const std::vector<std::size_t> starts = {0, 1, 3, 6, 7, 8, 12, 13};
  std::vector<std::size_t> found;
  for (std::size_t at = 0; at <= text.size(); ++at)
    if (isCharacterBoundary(text, at)) found.push_back(at);
  EXPECT_EQ(found, starts);
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
    for (std::size_t at = starts[i]; at < starts[i + 1]; ++at) {
      EXPECT_EQ(characterStart(text, at), starts[i]) << at;
      EXPECT_EQ(nextCharacterBoundary(text, at), starts[i + 1]) << at;
    }
  }
  EXPECT_EQ(nextCharacterBoundary(text, 99), text.size());
  EXPECT_EQ(startOfLastCharacters(text, 3), 7u);
  EXPECT_EQ(startOfLastCharacters(text, 7), 0u);
  EXPECT_EQ(startOfLastCharacters(text, 8), std::nullopt);
}

TEST(WideText, Utf16RoundTripsKeepEveryName) {
  EXPECT_EQ(utf8ToUtf16("Z\xC3\xBCrich Hbf.bin"), u"Z\u00FCrich Hbf.bin");
  EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x9A\x82"), u"\U0001F682");  // a surrogate pair
  EXPECT_EQ(utf16ToUtf8(u"K\u0105ty \U0001F682"), "K\xC4\x85ty \xF0\x9F\x9A\x82");
  // Bytes that are not UTF-8 become U+FFFD.
  EXPECT_EQ(utf8ToUtf16("caf\xE9!"), u"caf\uFFFD!");
  // A lone surrogate in a Windows name comes back as the same unit.
  const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC01)};
  EXPECT_EQ(utf16ToUtf8(lone),
            "a\xED\xA0\x80"
            "b\xED\xB0\x81");
  EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(lone)), lone);
  // The path form keeps the name.
  EXPECT_EQ(utf8FromPath(pathFromUtf8("dir/Z\xC3\xBCrich Hbf.bin")), "dir/Z\xC3\xBCrich Hbf.bin");
#ifdef _WIN32
  EXPECT_EQ(utf8ToWide("K\xC4\x85ty"), L"K\u0105ty");
  EXPECT_EQ(wideToUtf8(L"K\u0105ty"), "K\xC4\x85ty");
#endif
}
