#include "pipeline/SaveSteps.h"

#include <filesystem>

#include "platform/core/WideText.h"

namespace vantrel::pipeline {
namespace fs = std::filesystem;

bool nameTaken(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(platform::pathFromUtf8(path), error));
}

std::string savingName(const std::string& binPath, int n) {
  const fs::path bin = platform::pathFromUtf8(binPath);
  const std::string name = platform::utf8FromPath(bin.stem()) + ".saving" +
                           (n == 1 ? "" : std::to_string(n)) +
                           platform::utf8FromPath(bin.extension());
  return platform::utf8FromPath(bin.parent_path() / platform::pathFromUtf8(name));
}

std::optional<std::string> freeSavingName(const std::string& binPath) {
  for (int n = 1; n <= 9; ++n) {
    std::string candidate = savingName(binPath, n);
    if (!nameTaken(candidate)) return candidate;
  }
  return std::nullopt;
}

void removeQuietly(const std::string& path) {
  std::error_code error;
  fs::remove(platform::pathFromUtf8(path), error);
}

std::error_code keepAsBackup(const std::string& binPath, const std::string& backupPath) {
  const fs::path from = platform::pathFromUtf8(binPath), to = platform::pathFromUtf8(backupPath);
  std::error_code error;
  fs::create_hard_link(from, to, error);
  if (!error) return error;
  error.clear();
  fs::copy_file(from, to, error);
  if (error) {
    removeQuietly(backupPath);
    return error;
  }
  std::error_code timeError;
  fs::last_write_time(to, fs::last_write_time(from, timeError), timeError);
  return error;
}

}  // namespace vantrel::pipeline
