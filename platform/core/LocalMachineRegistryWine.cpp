#include <cstdlib>

#include "platform/core/RegistryData.h"

namespace vantrel::platform {

std::string winePrefixFolder() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.wine";
}

std::optional<RegistryData> queryLocalMachineValue(std::string_view keyPath,
                                                   std::string_view valueName) {
  return queryWinePrefixValue(winePrefixFolder(), keyPath, valueName);
}

}  // namespace vantrel::platform
