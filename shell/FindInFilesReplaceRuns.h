#pragma once
#include <memory>
#include <string>
#include <vector>

#include "shell/FindInFilesEngine.h"

// The replace half of the engine adapter: the engine's ReplaceRun and undo
// journal, or, in a tree whose engine does not replace yet, runs that end
// at once saying so.
namespace vantrel::shell {

std::unique_ptr<EngineRun> startReplaceRun(const std::vector<std::string>& folders,
                                           const findfiles::ReplaceOptions& options);
findfiles::UndoReport undoReplaceRun(const std::vector<std::string>& folders);
bool canUndoReplaceRun(const std::vector<std::string>& folders);

}  // namespace vantrel::shell
