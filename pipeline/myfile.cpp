#include "pipeline/myfile.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/core/MessagePump.h"
#include "platform/core/Process.h"
#include "platform/core/WideText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace vantrel {

namespace {

constexpr auto kPollPause = std::chrono::milliseconds(50);

bool isFolder(const std::string& path) {
#ifdef _WIN32
  const DWORD attributes = ::GetFileAttributesW(platform::utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

RunOutcome runAndWait(const std::string& commandLine, Truth pump, std::int32_t windowStyle,
                      bool captureErrors) {
  RunOutcome outcome;
  std::unique_ptr<platform::ChildProcess> child;
  try {
    child = platform::ChildProcess::start(commandLine, windowStyle, captureErrors);
  } catch (...) {  // e.g. out of memory while building the argument list
    return outcome;
  }
  if (!child) return outcome;

  // The first pause comes before the first check.
  do {
    std::this_thread::sleep_for(kPollPause);
    if (pump != False) platform::processPendingMessages();
    child->collectErrorOutput();
  } while (!child->hasEnded());

  outcome.processId = child->id();
  outcome.errorOutput = child->errorOutput();
  return outcome;
}

}  // namespace

Truth FileCanOpen(const std::string& path) {
  if (path.empty() || isFolder(path)) return False;
  std::ifstream file(platform::pathFromUtf8(path), std::ios::binary);
  return toTruth(file.is_open());
}

Truth DirExists(std::string& path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
#ifndef _WIN32
  if (path.size() > 1 && path.back() == '/') path.pop_back();
#endif
  if (path.empty()) return False;
  return toTruth(isFolder(path));
}

double RunAndWait(const std::string& commandLine, Truth pump, std::int32_t windowStyle) {
  return runAndWait(commandLine, pump, windowStyle, false).processId;
}

RunOutcome RunAndWaitCapturingErrors(const std::string& commandLine, Truth pump,
                                     std::int32_t windowStyle) {
  return runAndWait(commandLine, pump, windowStyle, true);
}

}  // namespace vantrel
