#include "findfiles/RunPool.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>

#include "findfiles/Walk.h"
#include "platform/core/Files.h"

namespace vantrel::findfiles::detail {

unsigned workerCount(unsigned jobs) {
  if (jobs) return jobs;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores ? cores : 1;
}

struct RunPool::Impl {
  std::vector<std::string> folders;
  bool includePacked;
  unsigned jobs;
  PoolWork work;

  std::atomic<bool> stop{false};
  std::atomic<std::size_t> filesFound{0}, filesDone{0};
  std::atomic<std::uint64_t> bytesRead{0};
  std::atomic<bool> walkDone{false};

  std::mutex mutex;
  std::condition_variable changed;
  std::deque<WorkItem> queue;
  std::size_t capacity = 8;
  bool walking = true;
  unsigned running = 0;
  std::vector<std::thread> threads;
  bool started = false;

  // Blocks while the queue is full; false once the run stops.
  bool push(WorkItem item) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return stop || queue.size() < capacity; });
    if (stop) return false;
    queue.push_back(std::move(item));
    changed.notify_all();
    return true;
  }

  // Blocks until there is work; false when there is no more.
  bool pop(WorkItem& item) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return stop || !queue.empty() || !walking; });
    if (stop || queue.empty()) return false;
    item = std::move(queue.front());
    queue.pop_front();
    changed.notify_all();
    return true;
  }

  void threadEnded() {
    bool last = false;
    {
      std::lock_guard lock(mutex);
      last = --running == 0;
      if (last) queue.clear();  // archives still open after a stop
    }
    changed.notify_all();
    if (last && work.finished) work.finished();
  }

  void walk() {
    WalkSink sink;
    sink.found = [&](WorkItem item) { return push(std::move(item)); };
    sink.problem = [&](Problem p) { work.problem(std::move(p)); };
    sink.counted = [&](std::size_t n) { filesFound += n; };
    try {
      walkFolders(folders, includePacked, stop, sink);
    } catch (const std::exception& e) {
      work.problem({folders.empty() ? std::string() : folders.front(),
                    std::string("the search of the folders failed: ") + e.what()});
    }
    walkDone = true;
    {
      std::lock_guard lock(mutex);
      walking = false;
    }
    changed.notify_all();
    threadEnded();
  }

  void searchLoose(const std::string& path, std::string& bytes, std::string& scratch) {
    if (const auto failure = files::readWhole(path, bytes)) {
      work.problem({path, failure->kind == files::FileError::Kind::TooLarge
                              ? "too large to read"
                              : "cannot be read: " + failure->reason});
      return;
    }
    bytesRead += bytes.size();
    work.file(FileRef{path, {}}, bytes, scratch);
  }

  void searchPacked(const WorkItem& item, std::string& bytes, std::string& scratch) {
    for (const archive::Member& member : item.archive->members()) {
      if (stop) return;
      const FileRef ref{item.path, member.path};
      if (const auto failure = item.archive->readMember(member.index, bytes)) {
        work.problem({ref.displayPath(), *failure});
      } else {
        bytesRead += bytes.size();
        work.file(ref, bytes, scratch);
      }
      ++filesDone;
    }
  }

  void worker() {
    std::string bytes, scratch;
    WorkItem item;
    while (pop(item)) {
      try {
        if (item.archive) {
          searchPacked(item, bytes, scratch);
        } else {
          searchLoose(item.path, bytes, scratch);
          ++filesDone;
        }
      } catch (const std::bad_alloc&) {
        work.problem({item.path, "not enough memory to search it"});
      } catch (const std::exception& e) {
        work.problem({item.path, e.what()});
      }
      item = {};
      // A large file's buffer is not kept for the next one.
      if (bytes.capacity() > (std::size_t{64} << 20)) std::string().swap(bytes);
      if (scratch.capacity() > (std::size_t{256} << 20)) std::string().swap(scratch);
    }
    threadEnded();
  }
};

RunPool::RunPool(std::vector<std::string> folders, bool includePacked, unsigned jobs, PoolWork work)
    : impl_(std::make_unique<Impl>()) {
  impl_->folders = std::move(folders);
  impl_->includePacked = includePacked;
  impl_->jobs = workerCount(jobs);
  impl_->capacity = 4 * impl_->jobs;
  impl_->work = std::move(work);
}

RunPool::~RunPool() {
  stop();
  wait();
}

void RunPool::start() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->started) return;
  impl_->started = true;
  impl_->running = impl_->jobs + 1;
  impl_->threads.emplace_back([this] { impl_->walk(); });
  for (unsigned i = 0; i < impl_->jobs; ++i)
    impl_->threads.emplace_back([this] { impl_->worker(); });
}

void RunPool::stop() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stop = true;
  }
  impl_->changed.notify_all();
}

void RunPool::wait() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(impl_->mutex);
    threads.swap(impl_->threads);
  }
  for (std::thread& t : threads) t.join();
  // Another caller may hold the threads: the run is over when none runs.
  std::unique_lock lock(impl_->mutex);
  impl_->changed.wait(lock, [&] { return !impl_->started || impl_->running == 0; });
}

const std::atomic<bool>& RunPool::stopFlag() const { return impl_->stop; }

Progress RunPool::progress() const {
  Progress p;
  p.filesFound = impl_->filesFound;
  p.filesDone = impl_->filesDone;
  p.walkDone = impl_->walkDone;
  p.bytesSearched = impl_->bytesRead;
  return p;
}

}  // namespace vantrel::findfiles::detail
