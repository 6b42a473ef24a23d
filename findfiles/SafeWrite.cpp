#include "findfiles/SafeWrite.h"

#include <filesystem>
#include <system_error>

#include "pipeline/BackupSlots.h"
#include "pipeline/SaveSteps.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"

namespace vantrel::findfiles::detail {
namespace fs = std::filesystem;

using pipeline::freeSavingName;
using pipeline::keepAsBackup;
using pipeline::removeQuietly;

bool nameTaken(const std::string& path) { return pipeline::nameTaken(path); }

SafeWriteResult writeWithBackup(const std::string& target, std::string_view bytes, bool newFile) {
  SafeWriteResult result;
  const fs::path path = platform::pathFromUtf8(target);
  if (newFile) {
    if (nameTaken(target)) return {"a file of that name is there already", {}};
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) return {"its folder could not be made (" + error.message() + ")", {}};
  } else {
    if (files::kindOf(target) != files::EntryKind::File) return {"is no longer a file", {}};
    if (files::isReadOnly(target)) return {"is read-only", {}};
    auto backup = pipeline::firstFreeBackup(target, nameTaken);
    if (!backup) return {"all five backup names beside it (.bak and .bak1 to .bak4) are taken", {}};
    result.backup = *backup;
  }
  const auto saving = freeSavingName(target);
  if (!saving) return {"the names for its new version beside it (.saving) are all taken", {}};
  if (const auto failure = files::replaceWhole(*saving, bytes))
    return {"its new version could not be written (" + failure->reason + ")", {}};
  // Read back: what is on disk is what was made.
  std::string check;
  if (files::readWhole(*saving, check) || check != bytes) {
    removeQuietly(*saving);
    return {"its new version did not read back as written", {}};
  }
  std::error_code error;
  if (!newFile) {
    const fs::perms perms = fs::status(path, error).permissions();
    if (!error) fs::permissions(platform::pathFromUtf8(*saving), perms, error);
    if (const std::error_code keepError = keepAsBackup(target, result.backup)) {
      removeQuietly(*saving);
      return {"its backup " + result.backup + " could not be made (" + keepError.message() + ")",
              {}};
    }
  }
  if (const auto moveError = files::moveOver(*saving, target)) {
    removeQuietly(*saving);
    if (!newFile) removeQuietly(result.backup);
    return {"the new version could not take its name (" + moveError->reason + ")", {}};
  }
  return result;
}

std::optional<std::string> restoreBackup(const std::string& backup, const std::string& target) {
  if (files::kindOf(backup) != files::EntryKind::File) return "its backup " + backup + " is gone";
  if (const auto moveError = files::moveOver(backup, target))
    return "its backup could not take its name back (" + moveError->reason + ")";
  return std::nullopt;
}

}  // namespace vantrel::findfiles::detail
