#pragma once
#include <string>

#include "shell/Settings.h"

// The settings file preferences.txt in the program folder, read when the
// main window opens and written when it closes.
namespace vantrel::shell {

std::string preferencesPath(const std::string& programFolder);

struct StoredPreferences {
  bool found = false;  // the file could be read at all
  SettingsRead read;   // meaningful only when found
  // Geometry may be applied: all four numbers were read.
  bool hasGeometry() const;
  // The viewer path to use: empty unless the whole line was read.
  std::string viewerPath() const;
};

// Reads preferences.txt when it can be opened. A file that vanishes or
// cannot be read after the check counts as not found.
StoredPreferences readPreferences(const std::string& programFolder);

// Replaces preferences.txt with the one settings line; false with errorText
// when it cannot be written.
bool writePreferences(const std::string& programFolder, const Settings& settings,
                      std::string& errorText);

}  // namespace vantrel::shell
