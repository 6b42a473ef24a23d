#include "shell/window/StartupFiles.h"

#include <filesystem>
#include <system_error>

#include "pipeline/UniFile.h"
#include "pipeline/myfile.h"
#include "platform/core/Paths.h"

namespace vantrel::shell {

std::string preferencesPath(const std::string& programFolder) {
  return platform::joinPath(programFolder, "preferences.txt");
}

std::string workingFolderPath(const std::string& programFolder) {
  return platform::joinPath(programFolder, "TempFiles");
}

bool StoredPreferences::hasGeometry() const {
  return found && (read.status == SettingsReadStatus::Complete ||
                   read.status == SettingsReadStatus::EndedEarly);
}

std::string StoredPreferences::viewerPath() const {
  return found && read.status == SettingsReadStatus::Complete ? read.settings.viewerPath
                                                              : std::string();
}

StoredPreferences readPreferences(const std::string& programFolder) {
  StoredPreferences stored;
  const std::string path = preferencesPath(programFolder);
  if (FileCanOpen(path) != True) return stored;
  std::string text;
  std::string errorText;
  if (!pipeline::readWholeFile(path, text, errorText)) return stored;
  stored.found = true;
  stored.read = parseSettings(text);
  return stored;
}

bool writePreferences(const std::string& programFolder, const Settings& settings,
                      std::string& errorText) {
  return pipeline::writeWholeFile(preferencesPath(programFolder), formatSettings(settings),
                                  errorText);
}

bool ensureWorkingFolder(const std::string& programFolder, std::string& errorText) {
  const std::string folder = workingFolderPath(programFolder);
  std::string checked = folder;  // DirExists may trim a trailing separator
  if (DirExists(checked) == True) return true;
  std::error_code error;
  std::filesystem::create_directory(folder, error);
  checked = folder;
  if (DirExists(checked) == True) return true;
  errorText = error ? error.message() : std::string("a file of that name is in the way");
  return false;
}

}  // namespace vantrel::shell
