#include "texture/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vantrel::texture {
namespace {

#ifdef _WIN32
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
int openNew(const std::string& path) { return _open(path.c_str(), kCreateFlags, _S_IREAD | _S_IWRITE); }
int writeSome(int fd, const std::uint8_t* data, std::size_t n) {
  return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(n, 1u << 30)));
}
int flushToDisk(int fd) { return _commit(fd); }
int closeFile(int fd) { return _close(fd); }

std::optional<std::string> moveOver(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return std::nullopt;
  const DWORD code = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  std::string reason(text, length);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
  return reason.empty() ? "error " + std::to_string(code) : reason;
}
#else
int openNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
ssize_t writeSome(int fd, const std::uint8_t* data, std::size_t n) { return ::write(fd, data, n); }
int flushToDisk(int fd) { return ::fsync(fd); }
int closeFile(int fd) { return ::close(fd); }

std::optional<std::string> moveOver(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  return std::string(std::strerror(errno));
}
#endif

std::string lastError() { return std::strerror(errno); }

// Writes everything to fd, retrying short writes; the reason on failure.
std::optional<std::string> writeAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto written = writeSome(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return lastError();
    }
    done += static_cast<std::size_t>(written);
  }
  if (flushToDisk(fd) != 0) return lastError();
  return std::nullopt;
}

}  // namespace

std::optional<std::string> replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  // A fresh name beside the target (same folder, so the rename stays within
  // one file system); O_EXCL never takes over a file that is already there.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = path + ".tmp" + std::to_string(attempt);
    fd = openNew(temporary);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return "could not create a temporary file beside it: " + lastError();

  std::optional<std::string> failure = writeAll(fd, bytes);
  if (closeFile(fd) != 0 && !failure) failure = lastError();
  if (!failure) failure = moveOver(temporary, path);
  if (failure) std::remove(temporary.c_str());
  return failure;
}

}  // namespace vantrel::texture
