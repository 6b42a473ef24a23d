#include "archive/MemberPath.h"

#include <array>

#include "platform/core/Paths.h"

namespace vantrel::archive {

namespace {

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  return true;
}

// Windows opens the device for these names whatever extension follows.
bool isWindowsDeviceName(std::string_view component) {
  const std::string_view stem = component.substr(0, component.find('.'));
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view device : kPlain)
    if (equalsIgnoringAsciiCase(stem, device)) return true;
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9')
    return equalsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
           equalsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
  return false;
}

bool isSafeComponent(std::string_view component) {
  if (component == "..") return false;
  for (char c : component) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' ||
        c == '*')
      return false;
  }
  if (component.back() == '.' || component.back() == ' ') return false;
  return !isWindowsDeviceName(component);
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::optional<std::string> safeMemberPath(std::string_view name) {
  if (name.empty() || isSeparator(name.front())) return std::nullopt;
  std::string path;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    const std::string_view component = name.substr(start, end - start);
    if (!component.empty() && component != ".") {
      if (!isSafeComponent(component)) return std::nullopt;
      if (!path.empty()) path += '/';
      path += component;
    }
    start = end + 1;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

std::optional<std::string> looseFileFor(std::string_view archivePath, std::string_view memberPath) {
  std::optional<std::string> relative = safeMemberPath(memberPath);
  if (!relative) return std::nullopt;
  // Both separators, as the rest of the program splits paths on Windows.
  const std::size_t last = archivePath.find_last_of("/\\");
  const char separator =
      last == std::string_view::npos ? platform::kPathSeparator : archivePath[last];
  std::string loose(last == std::string_view::npos ? std::string_view()
                                                   : archivePath.substr(0, last + 1));
  for (char c : *relative) loose += c == '/' ? separator : c;
  return loose;
}

}  // namespace vantrel::archive
