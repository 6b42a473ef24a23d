#include <utility>

#include "shell/FindInFilesEngine.h"
#include "shell/FindInFilesReplaceRuns.h"

// The Find in Files window over the engine of findfiles/.
namespace vantrel::shell {

namespace {

class FindRunSource : public EngineRun {
 public:
  FindRunSource(const std::vector<std::string>& folders, const findfiles::FindOptions& options)
      : run_(folders, options) {
    run_.start();
  }
  void stop() override { run_.stop(); }
  RunBatch take() override {
    findfiles::Batch batch = run_.take();
    return {
        std::move(batch.matches), {}, std::move(batch.problems), batch.progress, batch.finished};
  }

 private:
  findfiles::FindRun run_;
};

class FindFilesEngine : public FindInFilesEngine {
 public:
  std::unique_ptr<EngineRun> find(const std::vector<std::string>& folders,
                                  const findfiles::FindOptions& options) override {
    return std::make_unique<FindRunSource>(folders, options);
  }
  std::unique_ptr<EngineRun> replace(const std::vector<std::string>& folders,
                                     const findfiles::ReplaceOptions& options) override {
    return startReplaceRun(folders, options);
  }
  findfiles::UndoReport undoLastReplace(const std::vector<std::string>& folders) override {
    return undoReplaceRun(folders);
  }
  bool canUndoReplace(const std::vector<std::string>& folders) override {
    return canUndoReplaceRun(folders);
  }
};

}  // namespace

std::unique_ptr<FindInFilesEngine> makeFindInFilesEngine() {
  return std::make_unique<FindFilesEngine>();
}

}  // namespace vantrel::shell
