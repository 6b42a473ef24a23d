#include "shell/Registry.h"

#include <cctype>
#include <exception>

#include "platform/core/RegistryData.h"

namespace vantrel::shell {

namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::string_view kSimulatorKey =
    "Software\\Rail Simulator\\Packager Manager\\Installation";

// The first `count` bytes as text; a length the bytes cannot cover (a value
// stored without its terminating zero) gives what is there.
std::string leadingText(const std::vector<std::uint8_t>& bytes, std::size_t trailingZeros) {
  std::size_t count = bytes.size() > trailingZeros ? bytes.size() - trailingZeros : 0;
  return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

RegistryValue convertRegistryValue(const RawRegistryValue& raw) {
  switch (raw.type) {
    case kRegSz:
    case kRegExpandSz:  // environment references stay unexpanded
      return leadingText(raw.bytes, 1);
    case kRegBinary:
      return raw.bytes;
    case kRegDword: {
      std::uint32_t v = 0;
      for (std::size_t i = 0; i < 4 && i < raw.bytes.size(); ++i)
        v |= static_cast<std::uint32_t>(raw.bytes[i]) << (8 * i);
      return static_cast<std::int32_t>(v);
    }
    case kRegMultiSz:
      return leadingText(raw.bytes, 2);
    default:
      throw RegistryError();
  }
}

std::optional<RawRegistryValue> lookUpWineRegistry(std::string_view systemRegText,
                                                   std::string_view keyPath,
                                                   std::string_view valueName) {
  return platform::findInWineRegistryText(systemRegText, keyPath, valueName);
}

RegistryValue ReadRegistryValue(std::string_view keyPath, std::string_view valueName,
                                RegistryValue defaultValue) {
  auto found = platform::queryLocalMachineValue(keyPath, valueName);
  if (!found) return defaultValue;  // a key that cannot be opened is no error
  return convertRegistryValue(*found);
}

std::string registryValueToText(const RegistryValue& value) {
  if (auto text = std::get_if<std::string>(&value)) return *text;
  if (auto number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  if (auto bytes = std::get_if<std::vector<std::uint8_t>>(&value))
    return std::string(bytes->begin(), bytes->end());
  return {};
}

std::string mapWindowsPathIntoPrefix(std::string_view prefix, std::string_view windowsPath) {
  bool hasDrive = windowsPath.size() >= 2 &&
                  std::isalpha(static_cast<unsigned char>(windowsPath[0])) &&
                  windowsPath[1] == ':' &&
                  (windowsPath.size() == 2 || windowsPath[2] == '\\' || windowsPath[2] == '/');
  if (!hasDrive) return std::string(windowsPath);
  std::string out(prefix);
  out += "/dosdevices/";
  out += static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  out += ':';
  for (char c : windowsPath.substr(2)) out += c == '\\' ? '/' : c;
  return out;
}

namespace {

// The default value of the simulator's key as text; "" when there is none,
// it is no text, or the registry cannot be read. Only text names a folder.
std::string simulatorFolderText(const std::optional<RawRegistryValue>& raw) {
  if (!raw) return {};
  try {
    const RegistryValue value = convertRegistryValue(*raw);
    if (auto text = std::get_if<std::string>(&value)) return *text;
  } catch (const std::exception&) {
  }
  return {};
}

}  // namespace

std::string readSimulatorFolderInPrefix(const std::string& prefixFolder) {
  const std::string folder =
      simulatorFolderText(platform::queryWinePrefixValue(prefixFolder, kSimulatorKey, ""));
  return mapWindowsPathIntoPrefix(prefixFolder, folder);
}

std::string readSimulatorFolder() {
  std::string folder;
  try {
    folder = registryValueToText(ReadRegistryValue(kSimulatorKey, ""));
  } catch (const std::exception&) {
    // No default value, one of a type that is not text, or a registry that
    // cannot be read: the dialogs then start where the platform chooses.
    return {};
  }
#ifdef _WIN32
  return folder;
#else
  return mapWindowsPathIntoPrefix(platform::winePrefixFolder(), folder);
#endif
}

}  // namespace vantrel::shell
