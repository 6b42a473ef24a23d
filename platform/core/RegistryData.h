#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// One registry value as the ANSI query (RegQueryValueExA) hands it over:
// the type number and the bytes, text in the ANSI code page with its
// terminating zero (REG_MULTI_SZ with the final double zero).
struct RegistryData {
  std::uint32_t type = 0;  // 0 when the key has no such value
  std::vector<std::uint8_t> bytes;
};

// Looks keyPath (backslash separated, case-insensitive) up in the text of a
// Wine registry file such as system.reg (keys relative to HKEY_LOCAL_MACHINE)
// and valueName in it ("" is the default value). nullopt when the key is
// missing.
std::optional<RegistryData> findInWineRegistryText(std::string_view text, std::string_view keyPath,
                                                   std::string_view valueName);

// One value below HKEY_LOCAL_MACHINE, read-only, in the 32-bit view the
// simulator uses. Windows: the registry itself. Elsewhere: system.reg of the
// Wine prefix, on a 64-bit prefix under Software\Wow6432Node first.
// nullopt when the key cannot be opened.
std::optional<RegistryData> queryLocalMachineValue(std::string_view keyPath,
                                                   std::string_view valueName);

// One value below HKEY_LOCAL_MACHINE from the system.reg of the Wine prefix
// in prefixFolder, the 32-bit view first as above. nullopt when the file or
// the key is missing. Built on every platform: on Linux a Steam game's own
// Proton prefix is read with it, besides WINEPREFIX.
std::optional<RegistryData> queryWinePrefixValue(std::string_view prefixFolder,
                                                 std::string_view keyPath,
                                                 std::string_view valueName);

// WINEPREFIX, or ~/.wine when it is not set.
std::string winePrefixFolder();

}  // namespace vantrel::platform
