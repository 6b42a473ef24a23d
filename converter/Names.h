#pragma once
// Element names between the binary and XML, as the simulator's converter
// maps them.
//
// Binary -> XML: every "::" becomes "-", and the empty name becomes "e".
// XML -> binary: "e" stays the name "e" (the game reads it where it wrote an
// empty name, as files from the simulator's converter show). A '-' becomes
// "::", except the four inside a GUID (8-4-4-4-12 hex digits, as in a save's
// root "Scenario_833725f9-f537-4e29-87bb-667298f40902"), which the game
// writes with '-' itself.

#include "converter/OutBuf.h"

#include <string>
#include <string_view>

namespace serz::names {

// Empty when the binary name can be written as an XML element name; otherwise
// the reason it cannot (it would not be well-formed XML, or it holds a ':'
// that is not part of a "::").
std::string whyNotXmlName(std::string_view binaryName);

void appendXmlName(OutBuf& out, std::string_view binaryName);

// True when the XML name spells a different binary name.
inline bool needsRewrite(std::string_view xmlName) {
  return xmlName.find('-') != std::string_view::npos;
}
std::string toBinaryName(std::string_view xmlName);

}  // namespace serz::names
