#include <windows.h>

#include "platform/core/Process.h"
#include "platform/core/WideText.h"

namespace vantrel::platform {

namespace {

constexpr DWORD kStillActive = 259;

HANDLE openNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return ::CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void closeIfOpen(HANDLE& h) {
  if (h != nullptr && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  h = nullptr;
}

// Handles the child gets as standard input, output and error when its
// errors are captured; closed in the parent once the child has its copies.
struct ChildStdHandles {
  HANDLE input = nullptr;
  HANDLE output = nullptr;
  HANDLE errorWrite = nullptr;
  ~ChildStdHandles() {
    closeIfOpen(input);
    closeIfOpen(output);
    closeIfOpen(errorWrite);
  }
};

}  // namespace

struct ChildProcess::Impl {
  DWORD pid = 0;
  HANDLE query = nullptr;    // opened for querying the state; may be null
  HANDLE process = nullptr;  // the handle CreateProcess gave, kept to end it
  HANDLE errorRead = nullptr;
  bool ended = false;
  std::optional<int> exitCode;
  std::string errorOutput;

  ~Impl() {
    closeIfOpen(query);
    closeIfOpen(process);
    closeIfOpen(errorRead);
  }
};

ChildProcess::ChildProcess(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ChildProcess::~ChildProcess() = default;

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& commandLine, int windowStyle,
                                                  bool captureErrors) {
  auto impl = std::make_unique<Impl>();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(windowStyle == 0 ? SW_HIDE : SW_SHOWNORMAL);

  ChildStdHandles std;
  if (captureErrors) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    if (!::CreatePipe(&impl->errorRead, &std.errorWrite, &sa, 0)) return nullptr;
    ::SetHandleInformation(impl->errorRead, HANDLE_FLAG_INHERIT, 0);
    std.input = openNullDevice(GENERIC_READ);
    std.output = openNullDevice(GENERIC_WRITE);
    si.dwFlags |= STARTF_USESTDHANDLES;
    si.hStdInput = std.input;
    si.hStdOutput = std.output;
    si.hStdError = std.errorWrite;
  }

  // The command line is UTF-8; the wide call passes every name through,
  // whatever the system's ANSI code page holds. It takes a writable line.
  std::wstring mutableLine = utf8ToWide(commandLine);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, captureErrors ? TRUE : FALSE,
                        0, nullptr, nullptr, &si, &pi))
    return nullptr;

  impl->pid = pi.dwProcessId;
  // SYNCHRONIZE lets the real state be read, so an exit code of 259 is not
  // mistaken for a running process; plain query access is the fallback.
  impl->query = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pi.dwProcessId);
  if (impl->query == nullptr)
    impl->query = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pi.dwProcessId);
  ::CloseHandle(pi.hThread);
  impl->process = pi.hProcess;
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(impl)));
}

std::uint32_t ChildProcess::id() const { return impl_->pid; }

bool ChildProcess::hasEnded() {
  if (impl_->ended) return true;
  DWORD code = 0;  // stays 0 when the handle is missing or the query fails
  if (impl_->query != nullptr) ::GetExitCodeProcess(impl_->query, &code);
  bool ended = code != kStillActive || ::WaitForSingleObject(impl_->query, 0) == WAIT_OBJECT_0;
  if (ended) {
    impl_->ended = true;
    // Read again now that the process is known to have ended: the code read
    // before the wait may predate the end, and 259 may be a real exit code.
    if (impl_->query != nullptr && ::GetExitCodeProcess(impl_->query, &code))
      impl_->exitCode = static_cast<int>(code);
    collectErrorOutput();
  }
  return ended;
}

void ChildProcess::waitForEnd(std::chrono::milliseconds most) {
  if (impl_->ended) return;
  const HANDLE process = impl_->process != nullptr ? impl_->process : impl_->query;
  // A handle that cannot be waited on must not turn the wait into a spin.
  if (process == nullptr ||
      ::WaitForSingleObject(process, static_cast<DWORD>(most.count())) == WAIT_FAILED)
    ::Sleep(static_cast<DWORD>(most.count()));
}

std::optional<int> ChildProcess::exitCode() const { return impl_->exitCode; }

void ChildProcess::stop() {
  if (!impl_->ended && impl_->process != nullptr) ::TerminateProcess(impl_->process, 1);
}

void ChildProcess::collectErrorOutput() {
  if (impl_->errorRead == nullptr) return;
  char buffer[8192];
  while (true) {
    DWORD available = 0;
    if (!::PeekNamedPipe(impl_->errorRead, nullptr, 0, nullptr, &available, nullptr)) {
      closeIfOpen(impl_->errorRead);  // broken pipe: every writer is gone
      return;
    }
    if (available == 0) return;
    DWORD got = 0;
    DWORD want = available < sizeof buffer ? available : static_cast<DWORD>(sizeof buffer);
    if (!::ReadFile(impl_->errorRead, buffer, want, &got, nullptr) || got == 0) return;
    appendLimited(impl_->errorOutput, buffer, got);
  }
}

const std::string& ChildProcess::errorOutput() const { return impl_->errorOutput; }

}  // namespace vantrel::platform
