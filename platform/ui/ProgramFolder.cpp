#include "platform/ui/ProgramFolder.h"

#include <QCoreApplication>

namespace vantrel::platform {

namespace {
std::string& overrideFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string programFolder() {
  if (!overrideFolder().empty()) return overrideFolder();
  const QByteArray native = QCoreApplication::applicationDirPath().toUtf8();
  std::string folder(native.constData(), static_cast<std::size_t>(native.size()));
  // No trailing separator, except where the folder is a root ("/" or "C:\").
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\') &&
         !(folder.size() == 3 && folder[1] == ':')) {
    folder.pop_back();
  }
  return folder;
}

void setProgramFolderForTests(const std::string& folder) { overrideFolder() = folder; }

}  // namespace vantrel::platform
