#include "pipeline/myfile.h"

#include "platform/core/Files.h"
#include "platform/core/RunProgram.h"

namespace vantrel {

Truth FileCanOpen(const std::string& path) { return toTruth(files::isReadableFile(path)); }

Truth DirExists(std::string& path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
#ifndef _WIN32
  if (path.size() > 1 && path.back() == '/') path.pop_back();
#endif
  if (path.empty()) return False;
  return toTruth(files::kindOf(path) == files::EntryKind::Folder);
}

double RunAndWait(const std::string& commandLine, Truth pump, std::int32_t windowStyle) {
  platform::RunOptions options;
  options.showWindow = windowStyle != 0;
  options.pumpMessages = pump != False;
  return platform::runProgram(commandLine, options).processId;
}

}  // namespace vantrel
