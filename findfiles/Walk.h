#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "findfiles/FindInFiles.h"

// Finding the files a run searches: every SERZ file under the folders,
// whatever its name (but for the backups beside them), and (when asked)
// every .ap archive, both told by their first bytes. Links to folders are followed, but a folder
// reached a second time (a link loop, or a link to a folder searched already) is skipped, so the
// walk always ends and never searches a file twice.
namespace vantrel::findfiles::detail {

// One piece of work for a worker: a loose SERZ file, or an open archive
// whose SERZ members are searched in turn.
struct WorkItem {
  std::string path;
  std::shared_ptr<archive::Archive> archive;  // null for a loose file
};

struct WalkSink {
  // Returns false when the walk should end (the queue was closed).
  std::function<bool(WorkItem)> found;
  std::function<void(Problem)> problem;
  // SERZ files found: 1 for a loose file, the member count of an archive.
  std::function<void(std::size_t)> counted;
};

void walkFolders(const std::vector<std::string>& folders, bool includePacked,
                 const std::atomic<bool>& stop, const WalkSink& sink);

}  // namespace vantrel::findfiles::detail
