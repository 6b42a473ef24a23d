#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/core/CommandLine.h"
#include "platform/core/Process.h"

extern char** environ;

namespace vantrel::platform {

namespace {

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isWindowsExecutable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

bool isStartable(const std::string& path) {
  return isRegularFile(path) && (::access(path.c_str(), X_OK) == 0 || isWindowsExecutable(path));
}

bool endsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".exe";
}

// A bare name is looked up in the current folder first (the callers make
// the program folder current), then along PATH; a name with a folder is
// taken as it is.
std::optional<std::string> findOne(const std::string& name) {
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
    if (isRegularFile(name)) return name;
    return std::nullopt;
  }
  if (isStartable("./" + name)) return "./" + name;
  const char* pathVar = std::getenv("PATH");
  std::string dirs = pathVar ? pathVar : "";
  std::size_t begin = 0;
  while (begin <= dirs.size()) {
    std::size_t end = dirs.find(':', begin);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(begin, end - begin);
    std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (isStartable(candidate)) return candidate;
    begin = end + 1;
  }
  return std::nullopt;
}

// "serz.exe" that is not there falls back to "serz", so our own converter
// beside the editor serves when the simulator's is absent.
std::optional<std::string> findProgram(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (auto found = findOne(name)) return found;
  if (endsWithExe(name) && name.size() > 4) return findOne(name.substr(0, name.size() - 4));
  return std::nullopt;
}

class FileActions {
 public:
  FileActions() { ::posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

struct ChildProcess::Impl {
  pid_t pid = 0;
  bool ended = false;
  std::optional<int> exitCode;
  int errorPipe = -1;  // read end, non-blocking
  // Readable once the process has ended; -1 where the system has none
  // (waiting then sleeps the whole pause).
  int endSignal = -1;
  std::string errorOutput;

  ~Impl() {
    if (errorPipe >= 0) ::close(errorPipe);
    if (endSignal >= 0) ::close(endSignal);
  }
};

ChildProcess::ChildProcess(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ChildProcess::~ChildProcess() = default;

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& commandLine, int windowStyle,
                                                  bool captureErrors) {
  std::vector<std::string> args = splitWindowsCommandLine(commandLine);
  if (args.empty()) return nullptr;
  std::optional<std::string> program = findProgram(args[0]);
  if (!program) return nullptr;

  args[0] = *program;
  bool throughWine = isWindowsExecutable(*program);
  if (throughWine) args.insert(args.begin(), "wine");

  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  FileActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  if (windowStyle == 0)
    ::posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);

  auto impl = std::make_unique<Impl>();
  int pipeEnds[2] = {-1, -1};
  if (captureErrors) {
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return nullptr;
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    impl->errorPipe = pipeEnds[0];
    ::posix_spawn_file_actions_adddup2(actions.get(), pipeEnds[1], 2);
  }

  pid_t pid = 0;
  int rc = throughWine ? ::posix_spawnp(&pid, "wine", actions.get(), nullptr, argv.data(), environ)
                       : ::posix_spawn(&pid, argv[0], actions.get(), nullptr, argv.data(), environ);
  if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
  if (rc != 0) return nullptr;

  impl->pid = pid;
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(impl)));
}

std::uint32_t ChildProcess::id() const { return static_cast<std::uint32_t>(impl_->pid); }

bool ChildProcess::hasEnded() {
  if (impl_->ended) return true;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(impl_->pid, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return false;
  // Ended, or no longer ours to wait for: either way there is nothing to wait on.
  impl_->ended = true;
  if (r == impl_->pid && WIFEXITED(status)) impl_->exitCode = WEXITSTATUS(status);
  collectErrorOutput();
  return true;
}

void ChildProcess::waitForEnd(std::chrono::milliseconds most) {
  if (impl_->ended) return;
#ifdef SYS_pidfd_open
  if (impl_->endSignal < 0)
    impl_->endSignal = static_cast<int>(::syscall(SYS_pidfd_open, impl_->pid, 0));
#endif
  bool waited = false;
  if (impl_->endSignal >= 0) {
    pollfd waits[2] = {{impl_->endSignal, POLLIN, 0}, {impl_->errorPipe, POLLIN, 0}};
    const nfds_t count = impl_->errorPipe >= 0 ? 2 : 1;
    // EINTR: the caller checks again.
    waited = ::poll(waits, count, static_cast<int>(most.count())) >= 0 || errno == EINTR;
  }
  // No pidfd, or a failed poll: the whole pause, so the wait never spins.
  if (!waited) ::usleep(static_cast<useconds_t>(most.count()) * 1000);
}

std::optional<int> ChildProcess::exitCode() const { return impl_->exitCode; }

void ChildProcess::stop() {
  if (!impl_->ended) ::kill(impl_->pid, SIGKILL);
}

void ChildProcess::collectErrorOutput() {
  if (impl_->errorPipe < 0) return;
  char buffer[8192];
  while (true) {
    ssize_t n = ::read(impl_->errorPipe, buffer, sizeof buffer);
    if (n > 0) {
      appendLimited(impl_->errorOutput, buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) {  // every writer has closed it
      ::close(impl_->errorPipe);
      impl_->errorPipe = -1;
    }
    return;  // EAGAIN: nothing more for now
  }
}

const std::string& ChildProcess::errorOutput() const { return impl_->errorOutput; }

}  // namespace vantrel::platform
