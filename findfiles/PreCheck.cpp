#include "findfiles/PreCheck.h"

#include <algorithm>

#include "converter/ValueType.h"

namespace vantrel::findfiles::detail {

namespace {

// Characters that may stand between a stored string and the writer's own
// text, or come from an escape: markup, quotes, blanks and line breaks, the
// '&', '#' and ';' of character references, '?' of the prolog, and '-',
// which stands for "::" in element names.
bool isSeparator(unsigned char c) {
  switch (c) {
    case '<':
    case '>':
    case '/':
    case '=':
    case '"':
    case '\'':
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '&':
    case '#':
    case ';':
    case '?':
    case '-':
      return true;
    default:
      return false;
  }
}

// Every piece of writer-made text between separators, besides numbers and
// hex: the prolog, the root's attributes, attribute names and their fixed
// values, type names, the name of an empty element name, the names of
// character references, and the spellings of infinity and NaN.
constexpr std::string_view kWriterWords[] = {
    "xml",
    "version",
    "1.0",
    "encoding",
    "utf",
    "8",
    "xmlns:d",
    "http:",
    "www.kuju.com",
    "TnT",
    "2003",
    "Delta",
    "d:version",
    "d:id",
    "d:type",
    "ref",
    "d:alt_encoding",
    "d:precision",
    "string",
    "d:numElements",
    "d:elementType",
    "d:nil",
    "d:blob",
    "d:size",
    "e",
    "amp",
    "lt",
    "gt",
    "quot",
    "apos",
    "inf",
    "nan",
};

bool allIn(std::string_view needle, std::string_view alphabet) {
  for (char c : needle)
    if (alphabet.find(c) == std::string_view::npos) return false;
  return true;
}

bool occursIn(std::string_view needle, std::string_view word, bool matchCase) {
  const platform::ByteSearch search(needle, {matchCase, false});
  return search.findIn(word, 0) != platform::ByteSearch::npos;
}

}  // namespace

bool PreCheck::canMatchWriterText(std::string_view needle, bool matchCase) {
  for (char c : needle)
    if (isSeparator(static_cast<unsigned char>(c))) return true;
  // Decimal numbers: integers, "%g" (1e+06) and "%.7f" floats.
  if (allIn(needle, matchCase ? "0123456789.+e" : "0123456789.+eE")) return true;
  // Hex of d:alt_encoding and blobs, in upper case.
  if (allIn(needle, matchCase ? "0123456789ABCDEF" : "0123456789ABCDEFabcdef")) return true;
  for (std::string_view word : kWriterWords)
    if (occursIn(needle, word, matchCase)) return true;
  for (const serz::ValueTypeRow& row : serz::kValueTypes)
    if (occursIn(needle, row.name, matchCase)) return true;
  return false;
}

PreCheck::PreCheck(std::string_view needle, bool matchCase) {
  if (needle.empty() || canMatchWriterText(needle, matchCase)) return;
  const bool ascii = std::all_of(needle.begin(), needle.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (matchCase && !ascii) {
    // Matched as bytes: the whole needle stands as it is in the binary.
    plainBytes_ = true;
    asciiRun_ = std::string(needle);
    search_.emplace(asciiRun_, platform::ByteSearchOptions{true, false});
    return;
  }
  std::size_t best = 0, bestLength = 0;
  for (std::size_t i = 0; i < needle.size();) {
    if (static_cast<unsigned char>(needle[i]) >= 0x80) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < needle.size() && static_cast<unsigned char>(needle[end]) < 0x80) ++end;
    if (end - i > bestLength) {
      best = i;
      bestLength = end - i;
    }
    i = end;
  }
  // Folded, a character beyond ASCII may match other bytes than its own:
  // without an ASCII character there is nothing to look for.
  if (bestLength == 0) return;
  asciiRun_ = std::string(needle.substr(best, bestLength));
  search_.emplace(asciiRun_, platform::ByteSearchOptions{matchCase, false});
}

bool PreCheck::mayMatch(std::string_view binary) const {
  if (!search_) return true;
  // The binary's bytes around a stored string need not be characters, so
  // bytes beyond ASCII are looked for as bytes.
  if (plainBytes_) return binary.find(asciiRun_) != std::string_view::npos;
  return search_->findIn(binary, 0) != platform::ByteSearch::npos;
}

}  // namespace vantrel::findfiles::detail
