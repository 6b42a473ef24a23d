#pragma once
// Checks one entity or character reference of an XML text. The five
// predefined entity references and character references to U+0001..U+10FFFF
// are accepted; anything else starting with '&' ("&xxe;", "&amp b" without
// its ';', "&#0;", which would put a NUL into a string) is refused with its
// reason, so that it is reported where it stands instead of kept as text.

#include <cstddef>
#include <string>
#include <string_view>

namespace serz::xmlrefs {

// Empty when a valid reference starts at text[at] (an '&'), else the reason.
// A reference does not reach past the end of `text`.
std::string problemAt(std::string_view text, std::size_t at);

}  // namespace serz::xmlrefs
