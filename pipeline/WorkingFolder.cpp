#include "pipeline/WorkingFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/core/Files.h"
#include "platform/core/WideText.h"
#include "platform/core/Paths.h"

namespace vantrel::pipeline {

std::string workingFolderPath(const std::string& programFolder) {
  return platform::joinPath(programFolder, "TempFiles");
}

std::string workingFilePath(const std::string& programFolder, std::string_view name) {
  return platform::joinPath(workingFolderPath(programFolder), name);
}

std::optional<std::string> ensureWorkingFolder(const std::string& programFolder) {
  const std::string folder = workingFolderPath(programFolder);
  if (files::kindOf(folder) == files::EntryKind::Folder) return std::nullopt;
  std::error_code error;
  std::filesystem::create_directory(platform::pathFromUtf8(folder), error);
  if (files::kindOf(folder) == files::EntryKind::Folder) return std::nullopt;
  const std::string reason = error ? error.message() : "a file of that name is in the way";
  return "The working folder\r\n" + folder + "\r\ncould not be created (" + reason +
         "). Open .bin and View other files need it.";
}

}  // namespace vantrel::pipeline
