#include "converter/XmlReferences.h"

#include "converter/Failure.h"
#include "converter/Quote.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

namespace serz::xmlrefs {
namespace {

bool isDigit(char c, bool hex) {
  return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

}  // namespace

std::string problemAt(std::string_view xml, std::size_t at) {
  std::size_t i = at + 1;
  if (i < xml.size() && xml[i] == '#') {
    const bool hex = i + 1 < xml.size() && xml[i + 1] == 'x';
    i += hex ? 2 : 1;
    const std::size_t digits = i;
    std::uint32_t code = 0;
    bool tooLarge = false;
    for (; i < xml.size() && isDigit(xml[i], hex); ++i) {
      const char c = xml[i];
      const std::uint32_t d = c <= '9' ? static_cast<std::uint32_t>(c - '0')
                                       : static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
      code = code * (hex ? 16u : 10u) + d;
      if (code > 0x10FFFF) {
        tooLarge = true;
        code = 0x110000;
      }
    }
    if (i == digits || i >= xml.size() || xml[i] != ';')
      return "a character reference without its digits or its ';' (write & as &amp;)";
    if (code == 0 && !tooLarge) return "a character reference to NUL, which the file cannot hold";
    if (tooLarge) return "a character reference past U+10FFFF";
    return {};
  }
  // Names are short; look for the ';' only nearby.
  const std::size_t window = xml.substr(i, 64).find(';');
  const std::size_t semi = window == std::string_view::npos ? window : i + window;
  const std::string_view name = xml.substr(i, semi == std::string_view::npos ? 0 : semi - i);
  if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") return {};
  const bool plainName = semi != std::string_view::npos && !name.empty() &&
                         std::all_of(name.begin(), name.end(), [](char c) {
                           return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
                                  c == '-' || c == '.' || c == ':';
                         });
  if (plainName) return "an undefined entity reference " + quoted(xml.substr(at, semi + 1 - at));
  return "an '&' that does not start an entity reference (write & as &amp;)";
}

}  // namespace serz::xmlrefs
