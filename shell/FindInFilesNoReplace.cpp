#include "shell/FindInFilesReplaceRuns.h"

// An engine that finds but does not replace yet: Replace All ends at once
// with every file left as it was, and there is nothing to undo.
namespace vantrel::shell {

namespace {

class RefusedReplace : public EngineRun {
 public:
  explicit RefusedReplace(std::string folder) : folder_(std::move(folder)) {}
  void stop() override {}
  RunBatch take() override {
    RunBatch batch;
    batch.problems.push_back({folder_, "this build of the editor cannot replace in files yet"});
    batch.progress.walkDone = true;
    batch.finished = true;
    return batch;
  }

 private:
  std::string folder_;
};

}  // namespace

std::unique_ptr<EngineRun> startReplaceRun(const std::vector<std::string>& folders,
                                           const findfiles::ReplaceOptions&) {
  return std::make_unique<RefusedReplace>(folders.empty() ? std::string() : folders.front());
}

findfiles::UndoReport undoReplaceRun(const std::vector<std::string>&) {
  findfiles::UndoReport report;
  report.nothingToUndo = true;
  return report;
}

bool canUndoReplaceRun(const std::vector<std::string>&) { return false; }

}  // namespace vantrel::shell
