#pragma once
// Element names between the binary and XML. In XML every "::" becomes "-" and
// the empty name becomes "e"; converting back reverses both.

#include "converter/OutBuf.h"

#include <string>
#include <string_view>

namespace serz::names {

// Empty when `name` can be written as an XML element name that converts back
// to the same binary name; otherwise the reason it cannot.
std::string whyNotWritable(std::string_view name);

void appendXmlName(OutBuf& out, std::string_view name);

// True when the XML name needs rewriting to get the binary name.
inline bool needsRewrite(std::string_view xmlName) {
    return xmlName == "e" || xmlName.find('-') != std::string_view::npos;
}
std::string toBinaryName(std::string_view xmlName);

}  // namespace serz::names
