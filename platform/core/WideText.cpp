#include "platform/core/WideText.h"

#include "platform/core/Utf8Text.h"

namespace vantrel::platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The three-byte form of a lone surrogate (ED A0..BF 80..BF), which strict
// UTF-8 rejects; 0 when text[at] does not start one.
char16_t surrogateAt(std::string_view text, std::size_t at) {
  if (text.size() - at < 3) return 0;
  const auto b0 = static_cast<unsigned char>(text[at]);
  const auto b1 = static_cast<unsigned char>(text[at + 1]);
  const auto b2 = static_cast<unsigned char>(text[at + 2]);
  if (b0 != 0xED || b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80) return 0;
  return static_cast<char16_t>(0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character c = decodeUtf8(text, at);
    if (c.valid) {
      if (c.codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(c.codePoint));
      } else {
        const char32_t above = c.codePoint - 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (above >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (above & 0x3FF)));
      }
      at += c.length;
    } else if (const char16_t surrogate = surrogateAt(text, at)) {
      out.push_back(surrogate);
      at += 3;
    } else {
      out.push_back(kReplacement);
      at += 1;
    }
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char32_t unit = text[at];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() &&
                      text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    if (pair) {
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++at] - 0xDC00));
    } else {
      appendUtf8(out, unit);  // a lone surrogate keeps its three-byte form
    }
  }
  return out;
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring utf8ToWide(std::string_view text) {
  const std::u16string units = utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string wideToUtf8(std::wstring_view text) {
  return utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}
#endif

std::filesystem::path pathFromUtf8(std::string_view name) {
#ifdef _WIN32
  return std::filesystem::path(utf8ToWide(name));
#else
  return std::filesystem::path(std::string(name));
#endif
}

std::string utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return wideToUtf8(path.native());
#else
  return path.native();
#endif
}

}  // namespace vantrel::platform
