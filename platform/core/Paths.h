#pragma once
#include <string>
#include <string_view>

namespace vantrel::platform {

// The separator fixed paths are joined with: '\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name, by plain string joining (no normalisation).
inline std::string joinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  out += kPathSeparator;
  out += name;
  return out;
}

}  // namespace vantrel::platform
