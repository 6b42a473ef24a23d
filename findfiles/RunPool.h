#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "findfiles/FindInFiles.h"

// The threads of a run: one walks the folders and fills a bounded queue
// of files, the workers take them in turn and hand each SERZ file's bytes
// to the run's own work. At most the queue's few files and one file per
// worker are in memory at any time, however many the folders hold.
namespace vantrel::findfiles::detail {

struct PoolWork {
  // One SERZ file's bytes; called on a worker thread, on several at once.
  // scratch is the worker's own buffer, kept from file to file, for the
  // file's XML: a buffer per worker instead of a thread_local, whose
  // teardown at thread exit is not safe in every C++ runtime we ship.
  std::function<void(const FileRef&, std::string_view binary, std::string& scratch)> file;
  // A file, folder or archive that could not be read (any thread).
  std::function<void(Problem)> problem;
  // Called once, on the last thread to end, when all work is over.
  std::function<void()> finished;
};

class RunPool {
 public:
  RunPool(std::vector<std::string> folders, bool includePacked, unsigned jobs, PoolWork work);
  ~RunPool();  // stops and waits
  RunPool(const RunPool&) = delete;
  RunPool& operator=(const RunPool&) = delete;

  void start();
  void stop();
  void wait();
  const std::atomic<bool>& stopFlag() const;

  // Counters for Progress (seconds, matches and filesWithMatches are the
  // caller's).
  Progress progress() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Worker threads for jobs (0: one per core).
unsigned workerCount(unsigned jobs);

}  // namespace vantrel::findfiles::detail
