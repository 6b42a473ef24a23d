#include "pipeline/WorkingNames.h"

#include "platform/core/Utf8Text.h"

namespace vantrel::pipeline {

std::string fileNameOf(std::string_view path) {
  // Windows takes both separators too, so "C:/Sim/x.bin" names x.bin there.
  constexpr std::string_view separators = "\\/";
  std::size_t last = path.find_last_of(separators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::optional<std::string> workingXmlName(std::string_view chosenPath) {
  std::string name = fileNameOf(chosenPath);
  // Whatever the last four characters are; a letter beyond ASCII counts as
  // one, so the name is never cut inside it.
  const std::optional<std::size_t> cut = platform::startOfLastCharacters(name, 4);
  if (!cut) return std::nullopt;
  name.resize(*cut);
  return name + ".xml";
}

OtherFileNames otherFileWorkingNames(std::string_view chosenPath) {
  std::string name = fileNameOf(chosenPath);
  std::size_t dot = name.rfind('.');
  std::string base = dot == std::string::npos ? std::string() : name.substr(0, dot + 1);
  return {base + "bin", base + "xml"};
}

}  // namespace vantrel::pipeline
