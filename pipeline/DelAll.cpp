#include "pipeline/DelAll.h"

#include <filesystem>
#include <system_error>

namespace vantrel::pipeline {

namespace fs = std::filesystem;

namespace {

// Gives the owner the rights deletion needs: write and search on folders
// (their entries are removed), write on files (Windows refuses to delete a
// read-only file). Symbolic links are never followed. Failures are left for
// the removal to report.
void makeRemovable(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || fs::is_symlink(status)) return;
  if (fs::is_directory(status)) {
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
      makeRemovable(it->path());
    }
  } else {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
  }
}

}  // namespace

bool DelAll(const std::string& DirtoDelete, std::string& errorText) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(DirtoDelete, error))) return true;
  makeRemovable(DirtoDelete);
  fs::remove_all(DirtoDelete, error);
  if (error) {
    errorText = error.message();
    return false;
  }
  return true;
}

}  // namespace vantrel::pipeline
