#include "platform/core/RunProgram.h"

#include <chrono>
#include <memory>

#include "platform/core/MessagePump.h"
#include "platform/core/Process.h"

namespace vantrel::platform {

namespace {
constexpr auto kPollPause = std::chrono::milliseconds(50);
}  // namespace

RunResult runProgram(const std::string& commandLine, const RunOptions& options) {
  RunResult result;
  std::unique_ptr<ChildProcess> child;
  try {
    child = ChildProcess::start(commandLine, options.showWindow ? 1 : 0, options.captureErrors);
  } catch (...) {  // e.g. out of memory while building the argument list
    return result;
  }
  if (!child) return result;
  result.started = true;

  // The first pause comes before the first check; a pause ends early when
  // the program does.
  const auto started = std::chrono::steady_clock::now();
  do {
    child->waitForEnd(kPollPause);
    if (options.pumpMessages) processPendingMessages();
    child->collectErrorOutput();
    if (!result.stopped && options.keepWaiting &&
        !options.keepWaiting(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started))) {
      result.stopped = true;
      child->stop();
    }
  } while (!child->hasEnded());

  result.processId = child->id();
  result.exitCode = child->exitCode();
  result.errorOutput = child->errorOutput();
  return result;
}

}  // namespace vantrel::platform
