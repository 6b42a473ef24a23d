#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Colours for XML a line at a time, for documents too large to keep a
// style byte for every text byte: only the lines in view are coloured, each
// from the markup context the line above ended in (the first line in view
// starts outside any tag, as the converter's lines do).
namespace vantrel::platform {

enum class XmlColour : std::uint8_t { Tag, Attribute, Value, Comment, Entity, Declaration, CData };
inline constexpr int kXmlColourCount = 7;

struct XmlColourRun {
  std::size_t start = 0;
  std::size_t length = 0;
  XmlColour colour = XmlColour::Tag;
};

// Where a line ends: outside markup, inside a tag, a quoted value, a
// comment, a CDATA section or a declaration (<?...?>, <!...>).
enum class XmlContext : std::uint8_t {
  Text,
  Tag,
  DoubleQuoted,
  SingleQuoted,
  Comment,
  CData,
  Declaration
};

// Appends the runs of line (without its line end) that have a colour, left
// to right, offsets from the line's start; plain text and the spaces and
// '=' inside tags have none. Returns the context the next line starts in.
XmlContext colourXmlLine(std::string_view line, XmlContext context,
                         std::vector<XmlColourRun>& runs);

}  // namespace vantrel::platform
