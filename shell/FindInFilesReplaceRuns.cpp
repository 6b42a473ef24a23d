#include "shell/FindInFilesReplaceRuns.h"

#include <utility>

namespace vantrel::shell {

namespace {

class ReplaceRunSource : public EngineRun {
 public:
  ReplaceRunSource(const std::vector<std::string>& folders,
                   const findfiles::ReplaceOptions& options)
      : run_(folders, options) {
    run_.start();
  }
  void stop() override { run_.stop(); }
  RunBatch take() override {
    findfiles::ReplaceRun::Batch batch = run_.take();
    return {{}, std::move(batch.written), std::move(batch.failed), batch.progress, batch.finished};
  }

 private:
  findfiles::ReplaceRun run_;
};

}  // namespace

std::unique_ptr<EngineRun> startReplaceRun(const std::vector<std::string>& folders,
                                           const findfiles::ReplaceOptions& options) {
  return std::make_unique<ReplaceRunSource>(folders, options);
}

findfiles::UndoReport undoReplaceRun(const std::vector<std::string>& folders) {
  return findfiles::undoLastReplace(folders);
}

bool canUndoReplaceRun(const std::vector<std::string>& folders) {
  return findfiles::canUndoReplace(folders);
}

}  // namespace vantrel::shell
