#include "shell/StartupFiles.h"

#include "pipeline/UniFile.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace vantrel::shell {

std::string preferencesPath(const std::string& programFolder) {
  return platform::joinPath(programFolder, "preferences.txt");
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
  if (!files::isReadableFile(path)) return stored;
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

}  // namespace vantrel::shell
