#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/RegistryData.h"

// ReadRegistryValue: one value of HKEY_LOCAL_MACHINE, converted by its type.
// On Windows it reads the real registry (32-bit view); elsewhere the Wine
// registry file system.reg of WINEPREFIX (default ~/.wine).
namespace vantrel::shell {

// No value (missing key), text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ),
// a signed 32-bit number (REG_DWORD) or bytes (REG_BINARY).
using RegistryValue =
    std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

// Error 1001 "Unsupported value type".
struct RegistryError : std::runtime_error {
  static constexpr int kNumber = 1001;
  RegistryError() : std::runtime_error("Unsupported value type") {}
};

// Raw result of a query: the registry type number and the value's bytes as
// the Win32 query hands them over (text with its terminating zero(s)).
using RawRegistryValue = platform::RegistryData;

// The type table: REG_SZ/EXPAND_SZ (length - 1 chars), REG_BINARY, REG_DWORD,
// REG_MULTI_SZ (length - 2 chars); anything else throws RegistryError.
RegistryValue convertRegistryValue(const RawRegistryValue& raw);

// Looks keyPath (backslash separated, below HKEY_LOCAL_MACHINE) up in the
// text of a Wine system.reg; the empty value name is the default value.
// nullopt when the key is missing; type 0 when the key has no such value.
std::optional<RawRegistryValue> lookUpWineRegistry(std::string_view systemRegText,
                                                   std::string_view keyPath,
                                                   std::string_view valueName);

// HKEY_LOCAL_MACHINE only. The result starts as defaultValue.
RegistryValue ReadRegistryValue(std::string_view keyPath, std::string_view valueName,
                                RegistryValue defaultValue = {});

// The value as text ("no value" gives the empty text).
std::string registryValueToText(const RegistryValue& value);

// Maps a Windows path ("C:\Games\Sim") into the Wine prefix
// (prefix/dosdevices/c:/Games/Sim); other text is returned unchanged.
std::string mapWindowsPathIntoPrefix(std::string_view prefix, std::string_view windowsPath);

// The simulator's installation folder from the registry as a local folder
// ("" when missing or unreadable): on Linux mapped into the Wine prefix.
std::string readSimulatorFolder();

// The same folder from the system.reg of the Wine prefix in prefixFolder
// (such as a Steam game's Proton prefix), mapped into that prefix; "" when
// missing or unreadable.
std::string readSimulatorFolderInPrefix(const std::string& prefixFolder);

}  // namespace vantrel::shell
