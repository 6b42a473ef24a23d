#pragma once
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/FindInFilesEngine.h"

// A search engine whose runs hand out batches a test queued, and which
// records what it was asked to do.
namespace vantrel::testing {

class ScriptedRun : public shell::EngineRun {
 public:
  explicit ScriptedRun(std::deque<shell::RunBatch> batches, int* stops)
      : batches_(std::move(batches)), stops_(stops) {}
  void stop() override {
    ++*stops_;
    stopped_ = true;
  }
  // The next queued batch; when none is left, nothing new (still running),
  // or the end once stop() was called.
  shell::RunBatch take() override {
    if (batches_.empty()) {
      shell::RunBatch none;
      none.progress = last_;  // the figures so far, as a real run gives them
      none.finished = stopped_;
      return none;
    }
    shell::RunBatch next = std::move(batches_.front());
    batches_.pop_front();
    last_ = next.progress;
    return next;
  }

 private:
  std::deque<shell::RunBatch> batches_;
  int* stops_;
  bool stopped_ = false;
  findfiles::Progress last_;
};

class FakeEngine : public shell::FindInFilesEngine {
 public:
  // The batches of the next runs, one queue per run.
  std::deque<std::deque<shell::RunBatch>> findRuns, replaceRuns;
  std::vector<findfiles::FindOptions> finds;
  std::vector<findfiles::ReplaceOptions> replaces;
  std::vector<std::string> folders;  // of every run and undo, in order
  int stops = 0, undos = 0;
  bool undoable = false;
  findfiles::UndoReport undoReport;

  std::unique_ptr<shell::EngineRun> find(const std::vector<std::string>& runFolders,
                                         const findfiles::FindOptions& options) override {
    finds.push_back(options);
    folders.insert(folders.end(), runFolders.begin(), runFolders.end());
    return std::make_unique<ScriptedRun>(next(findRuns), &stops);
  }
  std::unique_ptr<shell::EngineRun> replace(const std::vector<std::string>& runFolders,
                                            const findfiles::ReplaceOptions& options) override {
    replaces.push_back(options);
    folders.insert(folders.end(), runFolders.begin(), runFolders.end());
    return std::make_unique<ScriptedRun>(next(replaceRuns), &stops);
  }
  findfiles::UndoReport undoLastReplace(const std::vector<std::string>& runFolders) override {
    ++undos;
    folders.insert(folders.end(), runFolders.begin(), runFolders.end());
    undoable = false;
    return undoReport;
  }
  bool canUndoReplace(const std::vector<std::string>&) override { return undoable; }

 private:
  static std::deque<shell::RunBatch> next(std::deque<std::deque<shell::RunBatch>>& runs) {
    if (runs.empty()) return {};
    std::deque<shell::RunBatch> batches = std::move(runs.front());
    runs.pop_front();
    return batches;
  }
};

inline findfiles::Match match(std::string path, std::string member, long line, long column,
                              std::string lineText, std::size_t start, std::size_t length) {
  findfiles::Match m;
  m.file = {std::move(path), std::move(member)};
  m.line = line;
  m.column = column;
  m.length = length;
  m.lineText = std::move(lineText);
  m.lineMatchStart = start;
  m.lineMatchLength = length;
  return m;
}

inline findfiles::Progress progress(std::size_t done, std::size_t found, std::size_t matches,
                                    std::size_t files) {
  findfiles::Progress p;
  p.filesDone = done;
  p.filesFound = found;
  p.walkDone = done == found;
  p.matches = matches;
  p.filesWithMatches = files;
  p.bytesSearched = 5'000'000;
  p.seconds = 2;
  return p;
}

}  // namespace vantrel::testing
