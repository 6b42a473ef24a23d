#pragma once
// Checks the entity and character references of an XML text before it is
// parsed. The parser keeps a reference it does not know ("&xxe;", or "&amp b"
// without its ';') as plain text, and turns "&#0;" into a NUL that would cut a
// string short; both are refused here instead, with their position.

#include <string_view>

namespace serz::xmlrefs {

// Throws detail::Failure at the byte offset of the first '&' outside a
// comment, CDATA section, processing instruction or document type
// declaration that does not start one of the five predefined entity
// references or a character reference to a character (U+0001..U+10FFFF).
void check(std::string_view xml);

}  // namespace serz::xmlrefs
