#include "shell/FindInFilesEngine.h"

// A build without the search engine of findfiles/: every run ends at once
// and says why, so the window still opens and explains itself.
namespace vantrel::shell {

namespace {

constexpr const char* kReason = "this build of the editor has no Find in Files engine";

class EndedRun : public EngineRun {
 public:
  explicit EndedRun(std::string folder) : folder_(std::move(folder)) {}
  void stop() override {}
  RunBatch take() override {
    RunBatch batch;
    batch.problems.push_back({folder_, kReason});
    batch.progress.walkDone = true;
    batch.finished = true;
    return batch;
  }

 private:
  std::string folder_;
};

class NoEngine : public FindInFilesEngine {
 public:
  std::unique_ptr<EngineRun> find(const std::vector<std::string>& folders,
                                  const findfiles::FindOptions&) override {
    return std::make_unique<EndedRun>(folders.empty() ? std::string() : folders.front());
  }
  std::unique_ptr<EngineRun> replace(const std::vector<std::string>& folders,
                                     const findfiles::ReplaceOptions&) override {
    return std::make_unique<EndedRun>(folders.empty() ? std::string() : folders.front());
  }
  findfiles::UndoReport undoLastReplace(const std::vector<std::string>&) override {
    findfiles::UndoReport report;
    report.nothingToUndo = true;
    return report;
  }
  bool canUndoReplace(const std::vector<std::string>&) override { return false; }
};

}  // namespace

std::unique_ptr<FindInFilesEngine> makeFindInFilesEngine() { return std::make_unique<NoEngine>(); }

}  // namespace vantrel::shell
