#include <filesystem>
#include <system_error>

#include "findfiles/FindInFiles.h"
#include "findfiles/Journal.h"
#include "findfiles/SafeWrite.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"

namespace vantrel::findfiles {
namespace fs = std::filesystem;

namespace {

// A reason when the file at path does not hold what has this fingerprint.
std::optional<std::string> differsFrom(const std::string& path, const detail::Fingerprint& f,
                                       const char* what) {
  std::string content;
  if (const auto failure = files::readWhole(path, content, f.size + 1)) {
    if (failure->kind == files::FileError::Kind::Missing) return std::string(what) + " is gone";
    if (failure->kind == files::FileError::Kind::TooLarge)
      return std::string(what) + " changed since the replace";
    return std::string(what) + " cannot be read: " + failure->reason;
  }
  if (!(detail::fingerprintOf(content) == f))
    return std::string(what) + " changed since the replace";
  return std::nullopt;
}

}  // namespace

UndoReport undoLastReplace(const std::vector<std::string>& folders) {
  UndoReport report;
  const auto path = detail::journalPath(folders);
  const auto entries = path ? detail::readJournal(*path) : std::nullopt;
  if (!entries || entries->empty()) {
    report.nothingToUndo = true;
    return report;
  }
  // Kept for another try: entries that failed for a reason other than a
  // change since (which no retry mends).
  std::vector<detail::JournalEntry> keep;
  for (auto it = entries->rbegin(); it != entries->rend(); ++it) {
    const detail::JournalEntry& e = *it;
    if (const auto changed = differsFrom(e.written, e.now, "it")) {
      report.left.push_back({e.written, "was left: " + *changed});
      continue;
    }
    if (e.backup.empty()) {
      // Newly written from an archive's member: undoing removes it.
      std::error_code error;
      fs::remove(platform::pathFromUtf8(e.written), error);
      if (error) {
        report.left.push_back({e.written, "could not be removed: " + error.message()});
        keep.push_back(e);
      } else {
        report.restored.push_back(e.written);
      }
      continue;
    }
    if (const auto changed = differsFrom(e.backup, e.before, "its backup")) {
      report.left.push_back({e.written, "was left: " + *changed + " (" + e.backup + ")"});
      continue;
    }
    if (const auto failure = detail::restoreBackup(e.backup, e.written)) {
      report.left.push_back({e.written, "was left: " + *failure});
      keep.push_back(e);
      continue;
    }
    report.restored.push_back(e.written);
  }
  detail::rewriteJournal(*path, {keep.rbegin(), keep.rend()});
  return report;
}

bool canUndoReplace(const std::vector<std::string>& folders) {
  const auto path = detail::journalPath(folders);
  if (!path) return false;
  const auto entries = detail::readJournal(*path);
  return entries && !entries->empty();
}

}  // namespace vantrel::findfiles
