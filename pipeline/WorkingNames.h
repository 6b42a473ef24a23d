#pragma once
#include <optional>
#include <string>
#include <string_view>

// Names of the working files in TempFiles.
namespace vantrel::pipeline {

// The part of path after its last separator ('\', and '/' too on Linux).
std::string fileNameOf(std::string_view path);

// Open .bin: the file name with its last four characters replaced by ".xml"
// ("Tracks.BIN" -> "Tracks.xml", "Tracks.dat" -> "Tracks.xml"); nullopt when
// the name has fewer than four characters. Names are UTF-8 and characters
// are counted as such (a byte that is not UTF-8 counts as one).
std::optional<std::string> workingXmlName(std::string_view chosenPath);

// View other files: base is the name up to and including its last '.'
// (empty when there is none); the copies are base + "bin" and base + "xml".
struct OtherFileNames {
  std::string binName;
  std::string xmlName;
};
OtherFileNames otherFileWorkingNames(std::string_view chosenPath);

}  // namespace vantrel::pipeline
