#include <utility>

#include "shell/FindInFilesEngine.h"

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

class FindFilesEngine : public FindInFilesEngine {
 public:
  std::unique_ptr<EngineRun> find(const std::vector<std::string>& folders,
                                  const findfiles::FindOptions& options) override {
    return std::make_unique<FindRunSource>(folders, options);
  }
  std::unique_ptr<EngineRun> replace(const std::vector<std::string>& folders,
                                     const findfiles::ReplaceOptions& options) override {
    return std::make_unique<ReplaceRunSource>(folders, options);
  }
  findfiles::UndoReport undoLastReplace(const std::vector<std::string>& folders) override {
    return findfiles::undoLastReplace(folders);
  }
  bool canUndoReplace(const std::vector<std::string>& folders) override {
    return findfiles::canUndoReplace(folders);
  }
};

}  // namespace

std::unique_ptr<FindInFilesEngine> makeFindInFilesEngine() {
  return std::make_unique<FindFilesEngine>();
}

}  // namespace vantrel::shell
