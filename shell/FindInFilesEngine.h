#pragma once
#include <memory>
#include <string>
#include <vector>

#include "findfiles/FindInFiles.h"

// What the Find in Files window's model needs of the search engine: runs it
// starts and polls, and the undo of the last replace. The program uses the
// engine of findfiles/ (makeFindInFilesEngine); tests put a scripted one in.
namespace vantrel::shell {

// What a find or replace run gave since the last take().
struct RunBatch {
  std::vector<findfiles::Match> matches;        // a find run
  std::vector<findfiles::WrittenFile> written;  // a replace run
  std::vector<findfiles::Problem> problems;     // files not searched or not written
  findfiles::Progress progress;
  bool finished = false;
};

// A run already started; the destructor stops it and waits.
class EngineRun {
 public:
  virtual ~EngineRun() = default;
  virtual void stop() = 0;
  virtual RunBatch take() = 0;
};

class FindInFilesEngine {
 public:
  virtual ~FindInFilesEngine() = default;
  virtual std::unique_ptr<EngineRun> find(const std::vector<std::string>& folders,
                                          const findfiles::FindOptions& options) = 0;
  virtual std::unique_ptr<EngineRun> replace(const std::vector<std::string>& folders,
                                             const findfiles::ReplaceOptions& options) = 0;
  virtual findfiles::UndoReport undoLastReplace(const std::vector<std::string>& folders) = 0;
  virtual bool canUndoReplace(const std::vector<std::string>& folders) = 0;
};

// The engine of findfiles/, on every core.
std::unique_ptr<FindInFilesEngine> makeFindInFilesEngine();

}  // namespace vantrel::shell
