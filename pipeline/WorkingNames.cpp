#include "pipeline/WorkingNames.h"

namespace vantrel::pipeline {

std::string fileNameOf(std::string_view path) {
#ifdef _WIN32
  constexpr std::string_view separators = "\\";
#else
  constexpr std::string_view separators = "\\/";
#endif
  std::size_t last = path.find_last_of(separators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::optional<std::string> workingXmlName(std::string_view chosenPath) {
  std::string name = fileNameOf(chosenPath);
  if (name.size() < 4) return std::nullopt;
  name.resize(name.size() - 4);  // whatever the last four characters are
  return name + ".xml";
}

OtherFileNames otherFileWorkingNames(std::string_view chosenPath) {
  std::string name = fileNameOf(chosenPath);
  std::size_t dot = name.rfind('.');
  std::string base = dot == std::string::npos ? std::string() : name.substr(0, dot + 1);
  return {base + "bin", base + "xml"};
}

}  // namespace vantrel::pipeline
