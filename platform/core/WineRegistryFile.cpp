// Reader for Wine's registry files (system.reg). Layout:
//   [Software\\Vendor\\Key] 1700000000      section: key path, '\' doubled
//   @="default"                               default value (REG_SZ)
//   "Name"=str(2):"%PATH%"                    typed text (here REG_EXPAND_SZ)
//   "List"=str(7):"a\0b\0"  or  hex(7):61,00,...  REG_MULTI_SZ
//   "Count"=dword:0000000a                    REG_DWORD
//   "Blob"=hex:01,02,\                        REG_BINARY, continued lines
//     03
// Text is escaped C-style (\\ \" \n \t \xNNNN, octal) and stored as UTF-16
// by Wine; it is handed back in the ANSI code page, as the A query does.
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/RegistryData.h"

namespace vantrel::platform {

namespace {

using Units = std::u16string;

// Windows-1252's characters in 0x80..0x9F, by their byte.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint8_t toAnsi(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<std::uint8_t>(unit);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] != 0 && kCp1252High[i] == unit) return static_cast<std::uint8_t>(0x80 + i);
  return '?';
}

std::vector<std::uint8_t> unitsToAnsi(const Units& units) {
  std::vector<std::uint8_t> out;
  out.reserve(units.size());
  for (char16_t u : units) out.push_back(toAnsi(u));
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes one UTF-8 sequence at s[i] (the file is UTF-8 outside escapes).
char16_t readUtf8(std::string_view s, std::size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i++]);
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  std::uint32_t cp = c & (0x3F >> extra);
  for (int k = 0; k < extra && i < s.size(); ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  return cp > 0xFFFF ? u'?' : static_cast<char16_t>(cp);
}

// Reads escaped text from s[i] up to the unescaped delimiter, leaving i
// after the delimiter. False when the delimiter never comes.
bool readEscaped(std::string_view s, std::size_t& i, char delimiter, Units& out) {
  while (i < s.size()) {
    char c = s[i];
    if (c == delimiter) {
      ++i;
      return true;
    }
    if (c != '\\') {
      out += readUtf8(s, i);
      continue;
    }
    if (++i >= s.size()) return false;
    char e = s[i++];
    switch (e) {
      case 'a':
        out += u'\a';
        break;
      case 'b':
        out += u'\b';
        break;
      case 'e':
        out += char16_t{27};
        break;
      case 'f':
        out += u'\f';
        break;
      case 'n':
        out += u'\n';
        break;
      case 'r':
        out += u'\r';
        break;
      case 't':
        out += u'\t';
        break;
      case 'v':
        out += u'\v';
        break;
      case 'x': {
        char16_t v = 0;
        int n = 0;
        while (n < 4 && i < s.size() && hexDigit(s[i]) >= 0) {
          v = static_cast<char16_t>(v * 16 + hexDigit(s[i++]));
          ++n;
        }
        out += n ? v : u'x';
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          char16_t v = static_cast<char16_t>(e - '0');
          for (int n = 1; n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++n)
            v = static_cast<char16_t>(v * 8 + (s[i++] - '0'));
          out += v;
        } else {
          out += static_cast<char16_t>(static_cast<unsigned char>(e));  // \\ \" \[ \]
        }
    }
  }
  return false;
}

char16_t foldCase(char16_t c) { return c < 128 ? static_cast<char16_t>(std::tolower(c)) : c; }

bool sameName(const Units& a, std::string_view b) {
  Units bu;
  for (std::size_t i = 0; i < b.size();)
    bu += static_cast<char16_t>(static_cast<unsigned char>(b[i++]));
  if (a.size() != bu.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldCase(a[i]) != foldCase(bu[i])) return false;
  return true;
}

std::vector<std::uint8_t> parseHexBytes(std::string_view s) {
  std::vector<std::uint8_t> out;
  int high = -1;
  for (char c : s) {
    int d = hexDigit(c);
    if (d < 0) {
      high = -1;
      continue;
    }
    if (high < 0) {
      high = d;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + d));
      high = -1;
    }
  }
  return out;
}

bool isTextType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

// Parses the data after '=': the type and the bytes as the A query gives them.
RegistryData parseData(std::string_view data) {
  RegistryData result;
  std::size_t i = 0;
  auto quotedText = [&](std::uint32_t type) {
    Units text;
    readEscaped(data, ++i, '"', text);  // i is at the opening quote
    result.type = type;
    result.bytes = unitsToAnsi(text);
    result.bytes.push_back(0);
  };
  if (data.starts_with('"')) {
    quotedText(1);
  } else if (data.starts_with("str(")) {
    std::size_t close = data.find("):", 4);
    if (close == std::string_view::npos) return {};
    std::uint32_t type = std::stoul(std::string(data.substr(4, close - 4)), nullptr, 16);
    i = close + 2;
    if (i < data.size() && data[i] == '"') quotedText(type);
  } else if (data.starts_with("dword:")) {
    std::uint32_t v =
        static_cast<std::uint32_t>(std::stoul(std::string(data.substr(6)), nullptr, 16));
    result.type = 4;
    result.bytes = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                    static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  } else if (data.starts_with("hex:")) {
    result.type = 3;
    result.bytes = parseHexBytes(data.substr(4));
  } else if (data.starts_with("hex(")) {
    std::size_t close = data.find("):", 4);
    if (close == std::string_view::npos) return {};
    result.type = std::stoul(std::string(data.substr(4, close - 4)), nullptr, 16);
    result.bytes = parseHexBytes(data.substr(close + 2));
    if (isTextType(result.type)) {  // stored as UTF-16LE
      Units text;
      for (std::size_t k = 0; k + 1 < result.bytes.size(); k += 2)
        text += static_cast<char16_t>(result.bytes[k] | (result.bytes[k + 1] << 8));
      result.bytes = unitsToAnsi(text);
    }
  }
  return result;
}

// Splits the text into logical lines: a line ending in '\' (hex data)
// continues on the next, whose leading blanks are dropped.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool next(std::string& line) {
    line.clear();
    if (pos_ >= text_.size()) return false;
    bool continued = false;
    do {
      std::size_t end = text_.find('\n', pos_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view piece = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      if (piece.ends_with('\r')) piece.remove_suffix(1);
      if (continued) {
        while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t'))
          piece.remove_prefix(1);
      }
      continued = piece.ends_with('\\') && isHexContinuation(line, piece);
      if (continued) piece.remove_suffix(1);
      line.append(piece);
    } while (continued && pos_ < text_.size());
    return true;
  }

 private:
  // Only hex data is split over lines; a quoted text ending in '\' is not.
  static bool isHexContinuation(const std::string& sofar, std::string_view piece) {
    std::string whole = sofar + std::string(piece);
    std::size_t eq = whole.find("=hex");
    return eq != std::string::npos && whole.find('"', eq) == std::string::npos;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<RegistryData> findInWineRegistryText(std::string_view text, std::string_view keyPath,
                                                   std::string_view valueName) {
  LineReader reader(text);
  std::string line;
  bool inKey = false;
  bool keyFound = false;
  while (reader.next(line)) {
    if (line.starts_with('[')) {
      if (keyFound) break;  // the key's values ended without the one asked for
      Units name;
      std::size_t i = 1;
      inKey = readEscaped(line, i, ']', name) && sameName(name, keyPath);
      keyFound = inKey;
      continue;
    }
    if (!inKey) continue;
    Units name;
    std::size_t i = 0;
    if (line.starts_with('@')) {
      i = 1;
    } else if (line.starts_with('"')) {
      i = 1;
      if (!readEscaped(line, i, '"', name)) continue;
    } else {
      continue;  // blank line, comment, #time=..., #link
    }
    if (i >= line.size() || line[i] != '=') continue;
    if (!sameName(name, valueName)) continue;
    try {
      return parseData(std::string_view(line).substr(i + 1));
    } catch (const std::exception&) {  // a malformed number in the file
      return RegistryData{};
    }
  }
  if (keyFound) return RegistryData{};
  return std::nullopt;
}

}  // namespace vantrel::platform
