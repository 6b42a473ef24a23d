#include "findfiles/Walk.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "archive/ZipSignature.h"
#include "pipeline/BackupSlots.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"

namespace vantrel::findfiles::detail {
namespace fs = std::filesystem;

namespace {

bool startsLikeSerz(std::string_view firstBytes) { return firstBytes.starts_with("SERZ"); }

// The backups Save .bin and replace leave beside a file (.bak, .bak1 ..
// .bak4) are the old versions kept on purpose, and a new version being
// written (NAME.saving.bin, or a .vantrel- temporary) is not a file yet:
// neither is searched nor replaced in.
bool isLeftAlone(const fs::path& file) {
  const std::string name = platform::utf8FromPath(file.filename());
  for (const char* suffix : pipeline::kBackupSuffixes)
    if (name.ends_with(suffix)) return true;
  if (name.starts_with(".vantrel-")) return true;
  const std::string stem = platform::utf8FromPath(file.stem());
  const std::size_t saving = stem.rfind(".saving");
  return saving != std::string::npos &&
         stem.find_first_not_of("0123456789", saving + 7) == std::string::npos;
}

class Walker {
 public:
  Walker(bool includePacked, const std::atomic<bool>& stop, const WalkSink& sink)
      : includePacked_(includePacked), stop_(stop), sink_(sink) {}

  void walkFolder(const fs::path& top) {
    std::vector<fs::path> pending{top};
    while (!pending.empty() && !stop_) {
      const fs::path folder = pending.back();
      pending.pop_back();
      std::vector<fs::path> files, folders;
      if (!list(folder, files, folders)) continue;
      for (const fs::path& file : files)
        if (stop_ || !take(file)) return;
      // Last pushed, first walked: keep the names in order.
      for (auto it = folders.rbegin(); it != folders.rend(); ++it) pending.push_back(*it);
    }
  }

  // False once the caller has asked for no more.
  bool ended() const { return ended_; }

  // The canonical form of a folder to walk; false when it was walked
  // already or cannot be resolved (reported).
  bool firstVisit(const fs::path& folder, bool throughLink) {
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error) {
      report(folder, "cannot be read: " + error.message());
      return false;
    }
    if (!visited_.insert(canonical).second) {
      if (throughLink)
        report(folder,
               "is a link to a folder searched already (a loop, or a second way in): skipped");
      return false;
    }
    return true;
  }

 private:
  void report(const fs::path& path, std::string reason) {
    sink_.problem({platform::utf8FromPath(path), std::move(reason)});
  }

  bool list(const fs::path& folder, std::vector<fs::path>& files, std::vector<fs::path>& folders) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
      report(folder, "cannot be read: " + error.message());
      return false;
    }
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
      if (error) break;
      const fs::directory_entry& entry = *it;
      std::error_code statusError;
      const bool link = entry.is_symlink(statusError);
      const fs::file_status status = entry.status(statusError);
      if (statusError) continue;  // a dangling link: nothing to search
      if (fs::is_directory(status)) {
        if (firstVisit(entry.path(), link)) folders.push_back(entry.path());
      } else if (fs::is_regular_file(status)) {
        files.push_back(entry.path());
      }
    }
    if (error) report(folder, "could not be read to its end: " + error.message());
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    return true;
  }

  bool take(const fs::path& file) {
    const std::string path = platform::utf8FromPath(file);
    if (isLeftAlone(file)) return true;
    std::string start;
    if (const auto failure = files::readStart(path, 4, start)) {
      report(file, "cannot be read: " + failure->reason);
      return true;
    }
    if (startsLikeSerz(start)) {
      sink_.counted(1);
      return push({path, nullptr});
    }
    if (!includePacked_ || !archive::startsLikeZip(start)) return true;
    auto packed = std::make_shared<archive::Archive>();
    if (const auto failure = packed->open(path)) {
      sink_.problem({path, *failure});
      return true;
    }
    for (const archive::RefusedMember& refused : packed->refused())
      sink_.problem({path + "::" + refused.name, refused.reason});
    if (packed->members().empty()) return true;
    sink_.counted(packed->members().size());
    return push({path, std::move(packed)});
  }

  bool push(WorkItem item) {
    if (!sink_.found(std::move(item))) ended_ = true;
    return !ended_;
  }

  bool includePacked_;
  const std::atomic<bool>& stop_;
  const WalkSink& sink_;
  std::set<fs::path> visited_;
  bool ended_ = false;
};

}  // namespace

void walkFolders(const std::vector<std::string>& folders, bool includePacked,
                 const std::atomic<bool>& stop, const WalkSink& sink) {
  Walker walker(includePacked, stop, sink);
  for (const std::string& name : folders) {
    if (stop || walker.ended()) return;
    const fs::path folder = platform::pathFromUtf8(name);
    if (files::kindOf(name) != files::EntryKind::Folder) {
      sink.problem({name, "is not a folder"});
      continue;
    }
    if (walker.firstVisit(folder, false)) walker.walkFolder(folder);
  }
}

}  // namespace vantrel::findfiles::detail
