#include "texture/DdsBuilder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <new>
#include <optional>

#include "texture/TextNumber.h"
#include "texture/TextureFormat.h"

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

// A value from the text for a message: at most 80 bytes, cut before a UTF-8
// continuation byte, with its control characters (line breaks, tabs, escape)
// written as \xHH so that the message stays one line.
std::string shown(std::string_view value) {
  constexpr std::size_t kMost = 80;
  std::size_t cut = value.size();
  if (cut > kMost) {
    cut = kMost;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  }
  std::string out;
  for (const char c : value.substr(0, cut)) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0x20 && code != 0x7F) {
      out += c;
      continue;
    }
    out += "\\x";
    out += "0123456789ABCDEF"[code >> 4];
    out += "0123456789ABCDEF"[code & 15];
  }
  if (cut < value.size()) out += "...";
  return out;
}

// The characters strictly between the first ">" after the first `tag` and the
// next "<": the element text of a start tag found by its beginning.
std::variant<std::string_view, DdsProblem> elementText(std::string_view text,
                                                       std::string_view tag) {
  const std::size_t a = text.find(tag);
  if (a == std::string_view::npos) return problem("has no \"" + std::string(tag) + "\" start tag");
  const std::size_t b = text.find('>', a);
  const std::size_t c = b == std::string_view::npos ? b : text.find('<', b);
  if (c == std::string_view::npos)
    return problem("has no element text after \"" + std::string(tag) + "\"");
  return text.substr(b + 1, c - b - 1);
}

// A width or height: a whole number from 0 to 32767.
std::variant<std::int32_t, DdsProblem> dimension(std::string_view text, std::string_view tag,
                                                 std::string_view name) {
  const auto found = elementText(text, tag);
  if (const auto* bad = std::get_if<DdsProblem>(&found)) return *bad;
  const std::string_view valueText = std::get<std::string_view>(found);
  const std::optional<double> read = readWholeNumberLeniently(valueText);
  if (!read) {
    return problem("gives the " + std::string(name) + " as \"" + shown(valueText) +
                   "\", which is not a number");
  }
  const double value = *read;
  if (!(value >= 0 && value <= kLargest16)) {
    return problem("gives the " + std::string(name) + " " + decimal(value) +
                   ", outside 0 to 32767");
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
  const std::string_view valueText = text.substr(b + 1, c - b - 1);
  const std::optional<double> read = readWholeNumberLeniently(valueText);
  if (!read) {
    return problem("gives the data size as \"" + shown(valueText) + "\", which is not a number");
  }
  const double value = *read;
  if (!(value >= 0 && value <= kLargestDataSize)) {
    return problem("gives the data size " + decimal(value) + ", outside 0 to " +
                   decimal(std::size_t{kLargestDataSize}));
  }
  return static_cast<std::int32_t>(value);
}

// Stores value little-endian in byteCount bytes at offset.
void storeLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value,
                       std::size_t byteCount) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t k = 0; k < byteCount; ++k) {
    bytes[offset + k] = static_cast<std::uint8_t>((bits >> (8 * k)) & 0xFF);
  }
}

void writeHeader(std::vector<std::uint8_t>& bytes, std::int32_t width, std::int32_t height,
                 std::int32_t size, BlockFormat format) {
  const std::array<std::uint8_t, 4> magic{'D', 'D', 'S', ' '};
  std::copy(magic.begin(), magic.end(), bytes.begin());
  bytes[4] = 124;  // dwSize
  // dwFlags 0x00081007: caps, height, width, pixel format, linear size.
  bytes[8] = 0x07;
  bytes[9] = 0x10;
  bytes[10] = 0x08;
  storeLittleEndian(bytes, 12, height, 2);
  storeLittleEndian(bytes, 16, width, 2);
  storeLittleEndian(bytes, 20, size, 4);         // dwPitchOrLinearSize: the whole data block
  bytes[76] = 32;                                // ddspf.dwSize
  bytes[80] = 0x04;                              // DDPF_FOURCC
  const std::string_view code = fourCc(format);  // ddspf.dwFourCC
  std::copy(code.begin(), code.end(), bytes.begin() + 84);
}

// Digit values; kSkip for the blanks and line breaks between pairs.
constexpr std::int8_t kNotHex = -1;
constexpr std::int8_t kSkip = -2;
constexpr std::array<std::int8_t, 256> kHexValue = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(kNotHex);
  for (int c = '0'; c <= '9'; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
  table[' '] = kSkip;
  table['\r'] = kSkip;
  table['\n'] = kSkip;
  return table;
}();

std::string whereInText(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
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
// pass and gives their count; blanks, CR and LF between digits are skipped.
// An odd number of digits is refused, as serz refuses it: the last digit
// would be half a byte.
std::variant<std::size_t, DdsProblem> decodeData(std::string_view text, std::size_t dataOffset,
                                                 std::size_t dataLength, std::uint8_t* out,
                                                 std::size_t capacity) {
  const char* data = text.data() + dataOffset;
  std::size_t pairs = 0;
  int high = -1;
  std::size_t highAt = 0;
  for (std::size_t i = 0; i < dataLength; ++i) {
    const std::int8_t value = kHexValue[static_cast<unsigned char>(data[i])];
    if (value >= 0) {
      if (high < 0) {
        high = value;
        highAt = i;
        continue;
      }
      if (pairs < capacity) out[pairs] = static_cast<std::uint8_t>(high << 4 | value);
      ++pairs;
      high = -1;
    } else if (value == kNotHex) {
      return problem("has " + describeCharacter(data[i]) +
                     ", which is no hexadecimal digit, in the d:blob data at " +
                     whereInText(text, dataOffset + i));
    }
  }
  if (pairs > capacity) {
    return problem("has " + decimal(pairs) +
                   " digit pairs in the d:blob data, more than its size of " + decimal(capacity) +
                   " bytes");
  }
  if (high >= 0) {
    return problem("has an odd number of hexadecimal digits in the d:blob data: the last one, at " +
                   whereInText(text, dataOffset + highAt) + ", is half a byte");
  }
  return pairs;
}

bool contains(std::string_view text, std::string_view needle) {
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
  return std::search(text.begin(), text.end(), searcher) != text.end();
}

// The format of the data and where it comes from: the first Format element,
// or, in a text without one, the explicit-alpha mark anywhere.
struct DataFormat {
  BlockFormat format;
  bool named;  // true: taken from a Format element, so the data must be exactly one image
};

std::variant<DataFormat, DdsProblem> dataFormat(std::string_view text) {
  const std::optional<std::string_view> name = firstFormatValue(text);
  if (!name)
    return DataFormat{contains(text, kExplicitAlphaMark) ? BlockFormat::Dxt3 : BlockFormat::Dxt1,
                      false};
  if (const std::optional<BlockFormat> format = blockFormatNamed(*name))
    return DataFormat{*format, true};
  const std::string which =
      name->empty() ? "an empty Format element" : "the format \"" + shown(*name) + "\"";
  return problem("has " + which + "; a .dds file is written only for " +
                 std::string(kDxt1FormatName) + " (DXT1), " + std::string(kDxt3FormatName) +
                 " (DXT3) and " + std::string(kDxt5FormatName) + " (DXT5)");
}

// "W × H" (the multiplication sign in UTF-8, the encoding of every text the
// builder gives back).
std::string pixels(std::int32_t width, std::int32_t height) {
  return decimal(std::size_t(width)) + " \xC3\x97 " + decimal(std::size_t(height));
}

std::string imageName(std::int32_t width, std::int32_t height, BlockFormat format) {
  return pixels(width, height) + " " + std::string(fourCc(format));
}

// The size checks before anything is allocated. A named format needs exactly
// one image of the texture's size; without one, the data may run short (it
// is padded with zeros) but holds at most a whole DXT3 mip chain.
std::optional<DdsProblem> checkDataSize(std::int32_t width, std::int32_t height, std::int32_t size,
                                        const DataFormat& data) {
  const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
  if (data.named) {
    if (width == 0 || height == 0) {
      return problem("gives the " + std::string(width == 0 ? "width" : "height") + " 0; a " +
                     std::string(fourCc(data.format)) + " image is at least " + pixels(1, 1));
    }
    const std::uint64_t needed = imageBytes(data.format, w, h);
    if (static_cast<std::uint64_t>(size) != needed) {
      return problem("has the wrong image size: the image data holds " +
                     decimal(std::size_t(size)) + " bytes; a " +
                     imageName(width, height, data.format) + " image needs " +
                     decimal(std::size_t(needed)));
    }
    return std::nullopt;
  }
  const std::uint64_t most = mipChainBytes(BlockFormat::Dxt3, w, h);
  if (static_cast<std::uint64_t>(size) > most) {
    return problem("gives the data size " + decimal(std::size_t(size)) + ", more than the " +
                   decimal(std::size_t(most)) + " bytes of a whole " +
                   imageName(width, height, BlockFormat::Dxt3) + " mip chain");
  }
  return std::nullopt;
}

}  // namespace

DdsResult buildDds(std::string_view text) {
  const auto width = dimension(text, "<Width", "width");
  if (const auto* bad = std::get_if<DdsProblem>(&width)) return *bad;
  const auto height = dimension(text, "<Height", "height");
  if (const auto* bad = std::get_if<DdsProblem>(&height)) return *bad;
  const auto size = dataSize(text);
  if (const auto* bad = std::get_if<DdsProblem>(&size)) return *bad;
  const auto format = dataFormat(text);
  if (const auto* bad = std::get_if<DdsProblem>(&format)) return *bad;
  const DataFormat& data = std::get<DataFormat>(format);
  const std::int32_t w = std::get<std::int32_t>(width), h = std::get<std::int32_t>(height);
  const std::int32_t n = std::get<std::int32_t>(size);
  if (auto bad = checkDataSize(w, h, n, data)) return *bad;

  // The data: the content of the first d:blob element.
  const std::size_t blob = text.find("<d:blob");
  const std::size_t dataStart = text.find('>', blob);
  if (dataStart == std::string_view::npos)
    return problem("has no \">\" closing the \"<d:blob\" start tag");
  const std::size_t dataEnd = text.find("</d:blob", dataStart);
  if (dataEnd == std::string_view::npos) return problem("has no \"</d:blob\" end tag");

  const auto dataBytes = static_cast<std::size_t>(n);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.assign(kDdsHeaderSize + dataBytes, 0);
  } catch (const std::bad_alloc&) {
    return problem("gives the data size " + decimal(dataBytes) + ", more than fits in memory");
  }
  const auto decoded = decodeData(text, dataStart + 1, dataEnd - dataStart - 1,
                                  bytes.data() + kDdsHeaderSize, dataBytes);
  if (const auto* bad = std::get_if<DdsProblem>(&decoded)) return *bad;
  const std::size_t pairs = std::get<std::size_t>(decoded);
  if (data.named && pairs < dataBytes) {
    return problem("has the wrong image size: the image data holds " + decimal(pairs) +
                   " bytes (its d:size says " + decimal(dataBytes) + "); a " +
                   imageName(w, h, data.format) + " image needs " + decimal(dataBytes));
  }
  writeHeader(bytes, w, h, n, data.format);
  return bytes;
}

}  // namespace vantrel::texture
