#include "converter/Names.h"

#include "converter/Quote.h"
#include "converter/TextFormat.h"

namespace serz::names {
namespace {

bool isNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}
bool isNameChar(unsigned char c) {
  return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}
bool isHex(char c) { return text::hexDigit(c) >= 0; }

constexpr std::string_view kGuidShape = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";

// A GUID starts at `at`: hex digits and dashes in its shape, with no hex
// digit right before or after it.
bool guidAt(std::string_view s, std::size_t at) {
  if (s.size() - at < kGuidShape.size() || (at > 0 && isHex(s[at - 1]))) return false;
  for (std::size_t i = 0; i < kGuidShape.size(); ++i)
    if (kGuidShape[i] == '-' ? s[at + i] != '-' : !isHex(s[at + i])) return false;
  const std::size_t end = at + kGuidShape.size();
  return end == s.size() || !isHex(s[end]);
}

}  // namespace

std::string whyNotXmlName(std::string_view name) {
  if (name.empty()) return {};
  std::size_t i = 0;
  bool first = true;
  while (i < name.size()) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == ':') {
      if (first || i + 1 >= name.size() || name[i + 1] != ':')
        return "the element name " + quoted(name) + " has a ':' that is not part of a \"::\"";
      i += 2;
      first = false;
      continue;
    }
    if (first ? !isNameStart(c) : !isNameChar(c))
      return "the element name " + quoted(name) + " is not a valid XML name";
    first = false;
    ++i;
  }
  return {};
}

void appendXmlName(OutBuf& out, std::string_view name) {
  if (name.empty()) {
    out.put('e');
    return;
  }
  for (std::size_t pos = 0;;) {
    const std::size_t sep = name.find("::", pos);
    if (sep == std::string_view::npos) {
      out.put(name.substr(pos));
      return;
    }
    out.put(name.substr(pos, sep - pos));
    out.put('-');
    pos = sep + 2;
  }
}

std::string toBinaryName(std::string_view xmlName) {
  std::string out;
  out.reserve(xmlName.size() + 8);
  for (std::size_t i = 0; i < xmlName.size(); ++i) {
    if (xmlName[i] != '-') {
      if (isHex(xmlName[i]) && guidAt(xmlName, i)) {
        out.append(xmlName.substr(i, kGuidShape.size()));
        i += kGuidShape.size() - 1;
      } else {
        out += xmlName[i];
      }
      continue;
    }
    out += "::";
  }
  return out;
}

}  // namespace serz::names
