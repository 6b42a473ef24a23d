#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vantrel::platform {

// What a started program wrote on standard error is kept up to this size;
// the rest is read and dropped so the program never blocks on a full pipe.
inline constexpr std::size_t kErrorOutputLimit = 64 * 1024;

// A program started from a Windows-style command line (UTF-8) and polled
// until it ends. Windows: CreateProcessW with the command line in UTF-16
// and the window style, then a query handle.
// Elsewhere: the command line is split by the Windows rules, a bare program
// name is looked up in the current folder and then PATH ("X.exe" falling
// back to "X"), a Windows executable runs through wine; standard input and,
// for the hidden style, standard output are the null device.
class ChildProcess {
 public:
  // windowStyle: 0 hidden, 1 normal with focus. nullptr when the program
  // cannot be found or started.
  static std::unique_ptr<ChildProcess> start(const std::string& commandLine, int windowStyle,
                                             bool captureErrors);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  std::uint32_t id() const;

  // True once the process has ended, judged by its real state, so a
  // program whose exit code happens to be 259 does not look alive forever.
  // Also true when the process can no longer be queried.
  bool hasEnded();

  // Waits at most `most`, returning as soon as the process ends (or, when
  // its standard error is kept, has written there), so that a short run is
  // not kept waiting for the rest of a polling pause.
  void waitForEnd(std::chrono::milliseconds most);

  // Once ended: the exit status; nullopt when there is none to tell (killed
  // by a signal, or no longer queryable).
  std::optional<int> exitCode() const;

  // Ends the program at once (SIGKILL; TerminateProcess on Windows), for
  // a user who stopped a conversion. hasEnded() tells when it is gone.
  void stop();

  // Moves what is waiting on the standard-error pipe into errorOutput()
  // without blocking (only when started with captureErrors).
  void collectErrorOutput();
  const std::string& errorOutput() const;

  struct Impl;

 private:
  explicit ChildProcess(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Keeps at most kErrorOutputLimit bytes in total in kept.
void appendLimited(std::string& kept, const char* data, std::size_t size);

}  // namespace vantrel::platform
