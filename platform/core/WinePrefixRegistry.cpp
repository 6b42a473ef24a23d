// HKEY_LOCAL_MACHINE of a Wine prefix: its system.reg, read whole.
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/core/RegistryData.h"

namespace vantrel::platform {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

std::optional<RegistryData> queryWinePrefixValue(std::string_view prefixFolder,
                                                 std::string_view keyPath,
                                                 std::string_view valueName) {
  std::ifstream in(std::string(prefixFolder) + "/system.reg", std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  const std::string text = content.str();

  // A 32-bit program on a 64-bit prefix sees Software\Wow6432Node\... as
  // Software\...; the plain key serves when the 32-bit view lacks it.
  constexpr std::string_view software = "Software\\";
  if (text.find("#arch=win64") != std::string::npos && startsWithNoCase(keyPath, software)) {
    std::string redirected =
        "Software\\Wow6432Node\\" + std::string(keyPath.substr(software.size()));
    if (auto found = findInWineRegistryText(text, redirected, valueName)) return found;
  }
  return findInWineRegistryText(text, keyPath, valueName);
}

}  // namespace vantrel::platform
