#include "texture/DdsBuilder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <new>
#include <optional>

#include "texture/NumberBase.h"
#include "texture/TextNumber.h"

namespace vantrel::texture {
namespace {

constexpr std::int32_t kLargest16 = 32767;
constexpr std::int32_t kLargestDataSize = 2147483647 - static_cast<std::int32_t>(kDdsHeaderSize);

std::string decimal(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string decimal(std::size_t value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

DdsProblem problem(std::string text) { return DdsProblem{std::move(text)}; }

// The characters strictly between the first ">" after the first `tag` and the
// next "<": the element text of a start tag found by its beginning.
std::variant<std::string_view, DdsProblem> elementText(std::string_view text, std::string_view tag) {
  const std::size_t a = text.find(tag);
  if (a == std::string_view::npos) return problem("has no \"" + std::string(tag) + "\" start tag");
  const std::size_t b = text.find('>', a);
  const std::size_t c = b == std::string_view::npos ? b : text.find('<', b);
  if (c == std::string_view::npos) return problem("has no element text after \"" + std::string(tag) + "\"");
  return text.substr(b + 1, c - b - 1);
}

// A width or height: a whole number from 0 to 32767.
std::variant<std::int32_t, DdsProblem> dimension(std::string_view text, std::string_view tag,
                                                 std::string_view name) {
  const auto found = elementText(text, tag);
  if (const auto* bad = std::get_if<DdsProblem>(&found)) return *bad;
  const double value = readWholeNumberLeniently(std::get<std::string_view>(found));
  if (!(value >= 0 && value <= kLargest16)) {
    return problem("gives the " + std::string(name) + " " + decimal(value) + ", outside 0 to 32767");
  }
  return static_cast<std::int32_t>(value);
}

// N: the first quoted value after "<d:blob", from 0 up to what keeps the file
// within 2^31 - 1 bytes.
std::variant<std::int32_t, DdsProblem> dataSize(std::string_view text) {
  const std::size_t a = text.find("<d:blob");
  if (a == std::string_view::npos) return problem("has no \"<d:blob\" start tag");
  const std::size_t b = text.find('"', a);
  const std::size_t c = b == std::string_view::npos ? b : text.find('"', b + 1);
  if (c == std::string_view::npos) return problem("has no quoted data size after \"<d:blob\"");
  const double value = readWholeNumberLeniently(text.substr(b + 1, c - b - 1));
  if (!(value >= 0 && value <= kLargestDataSize)) {
    return problem("gives the data size " + decimal(value) + ", outside 0 to " + decimal(std::size_t{kLargestDataSize}));
  }
  return static_cast<std::int32_t>(value);
}

// Stores value little-endian in byteCount bytes at offset: its hexadecimal
// text, padded with "0" to two digits per byte, is read back pair by pair
// from the right.
void storeLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value,
                       std::size_t byteCount) {
  std::string hex = std::get<std::string>(Dec2Hex(value));
  if (hex.size() < 2 * byteCount) hex.insert(0, 2 * byteCount - hex.size(), '0');
  for (std::size_t k = 0; k < byteCount; ++k) {
    bytes[offset + k] = static_cast<std::uint8_t>(Hex2Dec(std::string_view(hex).substr(hex.size() - 2 * (k + 1), 2)));
  }
}

void writeHeader(std::vector<std::uint8_t>& bytes, std::int32_t width, std::int32_t height,
                 std::int32_t size, bool explicitAlpha) {
  const std::array<std::uint8_t, 4> magic{'D', 'D', 'S', ' '};
  std::copy(magic.begin(), magic.end(), bytes.begin());
  bytes[4] = 124;  // dwSize
  // dwFlags 0x00081007: caps, height, width, pixel format, linear size.
  bytes[8] = 0x07;
  bytes[9] = 0x10;
  bytes[10] = 0x08;
  storeLittleEndian(bytes, 12, height, 2);
  storeLittleEndian(bytes, 16, width, 2);
  storeLittleEndian(bytes, 20, size, 4);  // dwPitchOrLinearSize: the whole data block
  bytes[76] = 32;                         // ddspf.dwSize
  bytes[80] = 0x04;                       // DDPF_FOURCC
  bytes[84] = 'D';
  bytes[85] = 'X';
  bytes[86] = 'T';
  bytes[87] = explicitAlpha ? '3' : '1';
}

// Digit values; kSkip for the blanks and line breaks between pairs.
constexpr std::int8_t kNotHex = -1;
constexpr std::int8_t kSkip = -2;
constexpr std::array<std::int8_t, 256> kHexValue = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(kNotHex);
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
  table[' '] = kSkip;
  table['\r'] = kSkip;
  table['\n'] = kSkip;
  return table;
}();

std::string whereInText(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
  return "line " + decimal(line) + ", column " + decimal(column);
}

std::string describeCharacter(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code > 32 && code < 127) {
    std::string quoted(3, '"');
    quoted[1] = c;
    return quoted;
  }
  return "the character of code " + decimal(std::size_t{code});
}

// Decodes the digit pairs of data into out (room for capacity bytes) in one
// pass; blanks, CR and LF between digits are skipped, a final unpaired digit
// is ignored.
std::optional<DdsProblem> decodeData(std::string_view text, std::size_t dataOffset, std::size_t dataLength,
                                     std::uint8_t* out, std::size_t capacity) {
  const char* data = text.data() + dataOffset;
  std::size_t pairs = 0;
  int high = -1;
  for (std::size_t i = 0; i < dataLength; ++i) {
    const std::int8_t value = kHexValue[static_cast<unsigned char>(data[i])];
    if (value >= 0) {
      if (high < 0) {
        high = value;
        continue;
      }
      if (pairs < capacity) out[pairs] = static_cast<std::uint8_t>(high << 4 | value);
      ++pairs;
      high = -1;
    } else if (value == kNotHex) {
      return problem("has " + describeCharacter(data[i]) + ", which is no hexadecimal digit, in the d:blob data at " +
                     whereInText(text, dataOffset + i));
    }
  }
  if (pairs > capacity) {
    return problem("has " + decimal(pairs) + " digit pairs in the d:blob data, more than its size of " +
                   decimal(capacity) + " bytes");
  }
  return std::nullopt;
}

bool contains(std::string_view text, std::string_view needle) {
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
  return std::search(text.begin(), text.end(), searcher) != text.end();
}

}  // namespace

DdsResult buildDds(std::string_view text) {
  const auto width = dimension(text, "<Width", "width");
  if (const auto* bad = std::get_if<DdsProblem>(&width)) return *bad;
  const auto height = dimension(text, "<Height", "height");
  if (const auto* bad = std::get_if<DdsProblem>(&height)) return *bad;
  const auto size = dataSize(text);
  if (const auto* bad = std::get_if<DdsProblem>(&size)) return *bad;

  // The data: the content of the first d:blob element.
  const std::size_t blob = text.find("<d:blob");
  const std::size_t dataStart = text.find('>', blob);
  if (dataStart == std::string_view::npos) return problem("has no \">\" closing the \"<d:blob\" start tag");
  const std::size_t dataEnd = text.find("</d:blob", dataStart);
  if (dataEnd == std::string_view::npos) return problem("has no \"</d:blob\" end tag");

  const auto dataBytes = static_cast<std::size_t>(std::get<std::int32_t>(size));
  std::vector<std::uint8_t> bytes;
  try {
    bytes.assign(kDdsHeaderSize + dataBytes, 0);
  } catch (const std::bad_alloc&) {
    return problem("gives the data size " + decimal(dataBytes) + ", more than fits in memory");
  }
  if (auto bad = decodeData(text, dataStart + 1, dataEnd - dataStart - 1, bytes.data() + kDdsHeaderSize, dataBytes)) {
    return *bad;
  }
  writeHeader(bytes, std::get<std::int32_t>(width), std::get<std::int32_t>(height), std::get<std::int32_t>(size),
              contains(text, kExplicitAlphaMark));
  return bytes;
}

}  // namespace vantrel::texture
