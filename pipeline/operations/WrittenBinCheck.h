#pragma once
#include <functional>
#include <optional>
#include <string>

// Whether a .bin the converter wrote is whole: it decodes completely with
// our own decoder, whichever converter wrote it. A converter that ends with
// status 0 after writing "SERZ" and then garbage must not count as a save.
namespace vantrel::pipeline {

// nullopt when the file at path is a whole .bin; otherwise why not, as a
// sentence part to follow "the converter wrote a file that ".
std::optional<std::string> whyNotWholeBin(const std::string& path);

// Tests whose stand-in converters write other bytes replace the check;
// nullptr puts the decoder back.
using BinCheck = std::function<std::optional<std::string>(const std::string& path)>;
void setBinCheckForTests(BinCheck check);
std::optional<std::string> checkWrittenBin(const std::string& path);

}  // namespace vantrel::pipeline
