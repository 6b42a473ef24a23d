#include "pipeline/BackupSlots.h"

namespace vantrel::pipeline {

std::optional<std::string> firstFreeBackup(std::string_view binPath,
                                           const std::function<bool(const std::string&)>& exists) {
  for (const char* suffix : kBackupSuffixes) {
    std::string candidate = std::string(binPath) + suffix;
    if (!exists(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace vantrel::pipeline
