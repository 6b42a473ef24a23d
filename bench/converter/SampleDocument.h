#pragma once
// A large, generated scenario-like document with the fixtures' mix of
// records: nested elements with ids, strings (many repeated, some unique),
// scalar floats, 4- and 16-element float arrays, 64-bit ids, bools and nils.

#include <cstddef>
#include <string>

namespace serz::bench {

// XML in the converter's canonical layout, at least `minBytes` long.
std::string generateSampleXml(std::size_t minBytes, unsigned seed = 1);

}  // namespace serz::bench
