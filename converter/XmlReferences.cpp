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

// Answers, for increasing offsets, whether an offset lies inside a section
// where '&' is an ordinary character. Each byte is looked at once at most,
// and only when a doubtful '&' asks.
class LiteralSections {
 public:
  explicit LiteralSections(std::string_view xml) : xml_(xml) {}

  bool contain(std::size_t at) {
    while (true) {
      if (at < end_) return at >= start_;
      const std::size_t q = xml_.find('<', std::max(next_, end_));
      if (q == std::string_view::npos || q >= at) {
        next_ = at;
        return false;
      }
      const std::string_view rest = xml_.substr(q);
      std::size_t close;
      if (rest.starts_with("<!--"))
        close = endAfter(q + 4, "-->");
      else if (rest.starts_with("<![CDATA["))
        close = endAfter(q + 9, "]]>");
      else if (rest.starts_with("<?"))
        close = endAfter(q + 2, "?>");
      else if (rest.starts_with("<!"))
        close = doctypeEnd(q + 2);
      else {
        next_ = q + 1;
        continue;
      }
      start_ = q;
      end_ = close;
    }
  }

 private:
  std::size_t endAfter(std::size_t from, std::string_view terminator) const {
    const std::size_t at = xml_.find(terminator, from);
    return at == std::string_view::npos ? xml_.size() : at + terminator.size();
  }

  // A document type declaration ends at the first '>' outside its
  // bracketed internal subset and outside quoted literals.
  std::size_t doctypeEnd(std::size_t from) const {
    int depth = 0;
    char quote = 0;
    for (std::size_t i = from; i < xml_.size(); ++i) {
      const char c = xml_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        --depth;
      } else if (c == '>' && depth <= 0) {
        return i + 1;
      }
    }
    return xml_.size();
  }

  std::string_view xml_;
  std::size_t next_ = 0;  // no section starts between end_ and next_
  std::size_t start_ = 0, end_ = 0;
};

bool isDigit(char c, bool hex) {
  return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// Empty when a valid reference starts at `at` (the '&'), else the reason.
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

}  // namespace

void check(std::string_view xml) {
  LiteralSections sections(xml);
  const char* const begin = xml.data();
  const char* const end = begin + xml.size();
  for (const char* p = begin;
       (p = static_cast<const char*>(std::memchr(p, '&', static_cast<std::size_t>(end - p))));
       ++p) {
    const auto at = static_cast<std::size_t>(p - begin);
    std::string why = problemAt(xml, at);
    if (!why.empty() && !sections.contain(at)) detail::fail(at, std::move(why));
  }
}

}  // namespace serz::xmlrefs
