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
  std::string text;
  // Missing, unreadable or not a file: as if there were none.
  if (files::readWhole(path, text)) return stored;
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
