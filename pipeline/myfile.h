#pragma once
#include <cstdint>
#include <string>

#include "platform/core/Truth.h"

// File and process utilities the whole program leans on. None shows a
// message; each turns every failure into its result. Paths and command
// lines are UTF-8 (on Windows they go to the wide API as UTF-16).
namespace vantrel {

// True when the file at path can be opened for reading (a folder, a missing
// file, an empty path or an unreadable file give False). Nothing is read.
Truth FileCanOpen(const std::string& path);

// True when path names an existing folder. One trailing backslash (and, on
// Linux, one trailing '/') is removed from the caller's variable first.
Truth DirExists(std::string& path);

// Starts commandLine (split by the Windows rules) with the window style
// (0 hidden, 1 normal with focus) and waits until the process has ended,
// pausing 50 ms before every check and processing pending window messages
// after each pause when pump is not False. Returns the process identifier,
// 0 when the program could not be started (at once, without waiting).
double RunAndWait(const std::string& commandLine, Truth pump, std::int32_t windowStyle);

}  // namespace vantrel

namespace vantrel {

// What RunAndWaitCapturingErrors learns of the finished program.
struct RunOutcome {
  double processId = 0;     // as RunAndWait: 0 when it could not be started
  std::string errorOutput;  // what it wrote on standard error (first 64 KiB)
};

// RunAndWait, also collecting the program's standard error, so that a failed
// conversion can be reported with the converter's own reason.
RunOutcome RunAndWaitCapturingErrors(const std::string& commandLine, Truth pump,
                                     std::int32_t windowStyle);

}  // namespace vantrel
