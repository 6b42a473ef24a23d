#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/editor/ByteSearch.h"

// A look at a file's binary bytes that tells, before decoding, that its XML
// cannot hold the needle: decoding writes about seven bytes of XML per byte
// of binary, so skipping the files that cannot match is most of a search's
// speed.
//
// It must never lose a match. The XML is the binary's strings (element
// names, type names, string values) set in text the writer makes itself:
// markup, attribute names and fixed values, numbers in decimal, blobs in
// hex, escapes such as &amp;, '-' for "::" in names, 'e' for an empty name.
// Split at the characters that can stand between a stored string and the
// writer's text (markup, quotes, blanks, line breaks, escapes, '-'), every
// piece of the XML is either wholly a stored string's bytes or wholly
// writer-made. So a needle that holds none of those characters and cannot
// occur in any writer-made piece can only match inside a stored string,
// whose bytes stand as they are in the binary. Only such needles are
// checked; for any other the check always says "may match".
namespace vantrel::findfiles::detail {

class PreCheck {
 public:
  PreCheck(std::string_view needle, bool matchCase);
  // The search below views into asciiRun_.
  PreCheck(const PreCheck&) = delete;
  PreCheck& operator=(const PreCheck&) = delete;

  // Whether the check can rule files out for this needle.
  bool applies() const { return search_.has_value(); }
  // False only when the XML of this binary cannot hold the needle.
  bool mayMatch(std::string_view binary) const;

  // The rule alone: can the needle match text the writer makes (or span
  // it), which is not in the binary as it is?
  static bool canMatchWriterText(std::string_view needle, bool matchCase);

 private:
  // The needle's longest run of ASCII characters: ASCII characters only
  // ever match ASCII bytes (also case-folded), and an ASCII byte is a
  // character boundary whatever stands around it, so this run is found in
  // the binary's raw bytes wherever the whole needle is in a stored string.
  std::string asciiRun_;
  bool plainBytes_ = false;  // matchCase with bytes beyond ASCII: the whole needle
  std::optional<platform::ByteSearch> search_;
};

}  // namespace vantrel::findfiles::detail
