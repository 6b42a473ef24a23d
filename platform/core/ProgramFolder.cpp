#include "platform/core/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/core/WideText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel::platform {

namespace {

std::string& overrideFolder() {
  static std::string folder;
  return folder;
}

std::filesystem::path executablePath() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

}  // namespace

std::string programFolder() {
  if (!overrideFolder().empty()) return overrideFolder();
  std::string folder = platform::utf8FromPath(executablePath().parent_path());
  // No trailing separator, except where the folder is a root ("/" or "C:\").
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\') &&
         !(folder.size() == 3 && folder[1] == ':')) {
    folder.pop_back();
  }
  return folder;
}

void setProgramFolderForTests(const std::string& folder) { overrideFolder() = folder; }

}  // namespace vantrel::platform
