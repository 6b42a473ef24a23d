#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "platform/core/RegistryData.h"

namespace vantrel::platform {

std::string winePrefixFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  return prefix ? prefix : "";
}

namespace {

class KeyHandle {
 public:
  explicit KeyHandle(HKEY key) : key_(key) {}
  ~KeyHandle() { ::RegCloseKey(key_); }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

}  // namespace

std::optional<RegistryData> queryLocalMachineValue(std::string_view keyPath,
                                                   std::string_view valueName) {
  const std::string key(keyPath);
  const std::string name(valueName);
  HKEY raw = nullptr;
  // The simulator is a 32-bit program: its key lives in the 32-bit view.
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &raw) !=
      ERROR_SUCCESS)
    return std::nullopt;
  KeyHandle handle(raw);

  RegistryData data;
  std::vector<BYTE> buffer(1024);
  DWORD type = 0;
  DWORD length = static_cast<DWORD>(buffer.size());
  LONG rc = ::RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, buffer.data(), &length);
  if (rc == ERROR_MORE_DATA) {
    buffer.resize(length);
    type = 0;
    rc = ::RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, buffer.data(), &length);
  }
  if (rc != ERROR_SUCCESS) return data;  // no such value: type 0
  data.type = type;
  data.bytes.assign(buffer.begin(), buffer.begin() + std::min<std::size_t>(length, buffer.size()));
  return data;
}

}  // namespace vantrel::platform
