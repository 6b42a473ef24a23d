#include <chrono>
#include <mutex>

#include "findfiles/Decode.h"
#include "findfiles/FindInFiles.h"
#include "findfiles/PreCheck.h"
#include "findfiles/RunPool.h"
#include "findfiles/XmlMatches.h"

namespace vantrel::findfiles {

using Clock = std::chrono::steady_clock;

struct FindRun::State {
  FindOptions options;
  platform::ByteSearch search;
  detail::PreCheck preCheck;
  std::unique_ptr<detail::RunPool> pool;
  Clock::time_point started;
  std::atomic<std::size_t> matches{0}, filesWithMatches{0};

  std::mutex mutex;  // guards what follows
  Batch pending;
  bool finished = false;
  double seconds = 0;

  State(std::vector<std::string> folders, FindOptions o)
      : options(std::move(o)),
        search(options.text, {options.matchCase, options.wholeWord}),
        preCheck(options.text, options.matchCase) {
    detail::PoolWork work;
    work.file = [this](const FileRef& file, std::string_view binary, std::string& xml) {
      searchFile(file, binary, xml);
    };
    work.problem = [this](Problem p) {
      std::lock_guard lock(mutex);
      pending.problems.push_back(std::move(p));
    };
    work.finished = [this] {
      std::lock_guard lock(mutex);
      finished = true;
      seconds = elapsed();
    };
    pool = std::make_unique<detail::RunPool>(std::move(folders), options.includePacked,
                                             options.jobs, std::move(work));
  }

  double elapsed() const { return std::chrono::duration<double>(Clock::now() - started).count(); }

  void searchFile(const FileRef& file, std::string_view binary, std::string& xml) {
    if (options.text.empty() || !preCheck.mayMatch(binary)) return;
    if (const auto failure = detail::decodeToXml(binary, pool->stopFlag(), xml)) {
      if (pool->stopFlag()) return;
      std::lock_guard lock(mutex);
      pending.problems.push_back({file.displayPath(), "cannot be converted: " + *failure});
      return;
    }
    std::vector<Match> found;
    detail::findMatches(xml, search, options.text.size(), pool->stopFlag(), [&](Match&& m) {
      m.file = file;
      found.push_back(std::move(m));
    });
    if (found.empty()) return;
    matches += found.size();
    ++filesWithMatches;
    std::lock_guard lock(mutex);
    if (pending.matches.empty()) {
      pending.matches = std::move(found);
    } else {
      pending.matches.insert(pending.matches.end(), std::make_move_iterator(found.begin()),
                             std::make_move_iterator(found.end()));
    }
  }
};

FindRun::FindRun(std::vector<std::string> folders, FindOptions options)
    : state_(std::make_unique<State>(std::move(folders), std::move(options))) {}

FindRun::~FindRun() {
  state_->pool->stop();
  state_->pool->wait();
}

void FindRun::start() {
  state_->started = Clock::now();
  state_->pool->start();
}

void FindRun::stop() { state_->pool->stop(); }

void FindRun::wait() { state_->pool->wait(); }

Batch FindRun::take() {
  Batch batch;
  std::lock_guard lock(state_->mutex);
  // finished is read with the results under one lock: nothing found
  // before it is left behind.
  batch.finished = state_->finished;
  batch.matches.swap(state_->pending.matches);
  batch.problems.swap(state_->pending.problems);
  batch.progress = state_->pool->progress();
  batch.progress.matches = state_->matches;
  batch.progress.filesWithMatches = state_->filesWithMatches;
  batch.progress.seconds = state_->finished ? state_->seconds : state_->elapsed();
  return batch;
}

}  // namespace vantrel::findfiles
