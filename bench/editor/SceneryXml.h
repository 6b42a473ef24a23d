#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Generated documents shaped like a converted scenery file: CR LF lines,
// tab indentation, one entity record (about 100 bytes) after another.
namespace vantrel::bench {

// At least `bytes` bytes of XML whose every entity has `material` as the
// text of its one Material element. The rest of the text is made of tag
// names, attributes and digits, so a material word such as "Sandstone"
// occurs exactly once per entity. With namedEvery = n > 0, every n-th
// entity also gets a Name element holding a place name with letters beyond
// ASCII (UTF-8), as localised route files have them.
std::string makeSceneryXml(std::size_t bytes, std::string_view material, unsigned namedEvery = 0);

// Inserts one line holding `word` at the start of the line that contains
// the byte at `fraction` (0..1) of the document.
void insertLineAt(std::string& xml, double fraction, std::string_view word);

}  // namespace vantrel::bench
