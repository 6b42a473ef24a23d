#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Running an outside program (the converter, the image viewer) to its end
// while the window keeps repainting.
namespace vantrel::platform {

struct RunOptions {
  bool showWindow = false;     // the program's window shown with the focus, else hidden
  bool pumpMessages = true;    // process pending window messages while waiting
  bool captureErrors = false;  // keep what it writes on standard error (first 64 KiB)
  // Asked after every pause with the time waited so far; false ends the
  // program at once (the user stopped it). Unset: wait to the end.
  std::function<bool(std::chrono::milliseconds waited)> keepWaiting;
};

struct RunResult {
  bool started = false;
  std::uint32_t processId = 0;
  // Its exit status; nullopt when it could not be started or ended without
  // one (killed).
  std::optional<int> exitCode;
  std::string errorOutput;
  bool stopped = false;  // ended because keepWaiting said so

  bool succeeded() const { return exitCode == 0; }
};

// Starts commandLine (split by the Windows rules) and waits until it has
// ended, pausing 50 ms before every check.
RunResult runProgram(const std::string& commandLine, const RunOptions& options);

}  // namespace vantrel::platform
