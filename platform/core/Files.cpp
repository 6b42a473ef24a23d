#include "platform/core/Files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <new>
#include <random>
#include <system_error>

#include "platform/core/LargeBuffer.h"
#include "platform/core/WideText.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace vantrel::files {

namespace fs = std::filesystem;
using platform::pathFromUtf8;
using platform::utf8FromPath;

namespace {

#ifdef _WIN32
using NativeChar = wchar_t;
#else
using NativeChar = char;
#endif

FileError systemError(int code) {
  return {FileError::Kind::System, code != 0 ? std::strerror(code) : "input/output error", 0};
}

FileError notAFile(EntryKind kind) {
  return {FileError::Kind::NotAFile,
          kind == EntryKind::Folder ? "is a folder, not a file"
                                    : "is not a regular file (a pipe, device or socket)",
          0};
}

// Temporary files still held by AtomicWriters, for the interrupt handler.
// Plain arrays and lock-free states (free, being filled, published), so
// the handler may read them.
constexpr int kCleanupSlots = 16;
constexpr std::size_t kCleanupPathMax = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kPublished = 2 };
std::array<std::array<NativeChar, kCleanupPathMax>, kCleanupSlots> cleanupPaths;
std::array<std::atomic<int>, kCleanupSlots> cleanupState{};

int holdForCleanup(const fs::path& temporary) {
  const auto& native = temporary.native();
  if (native.size() >= kCleanupPathMax) return -1;
  for (int slot = 0; slot < kCleanupSlots; ++slot) {
    int expected = kFree;
    if (!cleanupState[slot].compare_exchange_strong(expected, kFilling)) continue;
    std::copy(native.begin(), native.end(), cleanupPaths[slot].begin());
    cleanupPaths[slot][native.size()] = 0;
    cleanupState[slot].store(kPublished);
    return slot;
  }
  return -1;
}

void releaseCleanup(int slot) {
  if (slot >= 0) cleanupState[slot].store(kFree);
}

extern "C" void removeTemporariesAndStop(int signalNumber) {
  for (int slot = 0; slot < kCleanupSlots; ++slot) {
    if (cleanupState[slot].load() != kPublished) continue;
#ifdef _WIN32
    DeleteFileW(cleanupPaths[slot].data());
#else
    unlink(cleanupPaths[slot].data());
#endif
  }
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// A fresh name beside the target that does not grow with the target's
// name, so a target whose name is as long as the system allows still gets
// one.
fs::path temporaryNameIn(const fs::path& folder, unsigned attempt) {
  static std::mt19937 random(std::random_device{}());
  char name[32];
  std::snprintf(name, sizeof name, ".vantrel-%06x.tmp",
                static_cast<unsigned>((random() + attempt) & 0xFFFFFF));
  return folder / name;
}

#ifdef _WIN32
std::string windowsReason(DWORD code) {
  wchar_t text[512] = {};
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     text, static_cast<DWORD>(std::size(text)), nullptr);
  std::string reason = utf8FromPath(fs::path(std::wstring(text, length)));
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
    reason.pop_back();
  return reason.empty() ? "Windows error " + std::to_string(code) : reason;
}

int openForWriting(const fs::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int writeSome(int fd, const char* data, std::size_t n) {
  return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(n, 1u << 30)));
}
int flushToDisk(int fd) { return _commit(fd); }
int closeFile(int fd) { return _close(fd); }
#else
int openForWriting(const fs::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
ssize_t writeSome(int fd, const char* data, std::size_t n) { return ::write(fd, data, n); }
int flushToDisk(int fd) { return ::fsync(fd); }
int closeFile(int fd) { return ::close(fd); }

// After a rename the folder's entry is on disk only once the folder is
// flushed too.
void flushFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

// A target that exists must be a writable regular file. Read-only means no
// write permission bit at all (so also root, who may write anything, leaves
// it alone) or no write access for this user.
std::optional<FileError> checkWritableTarget(const fs::path& target) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return notAFile(EntryKind::Folder);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return FileError{FileError::Kind::ReadOnly, "is read-only", 0};
  return std::nullopt;
#else
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return std::nullopt;
  if (S_ISDIR(st.st_mode)) return notAFile(EntryKind::Folder);
  if (!S_ISREG(st.st_mode)) return notAFile(EntryKind::Special);
  if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
    return FileError{FileError::Kind::ReadOnly, "is read-only", 0};
  return std::nullopt;
#endif
}

std::optional<FileError> moveOver(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return std::nullopt;
  return FileError{FileError::Kind::System, windowsReason(GetLastError()), 0};
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  return systemError(errno);
#endif
}

}  // namespace

EntryKind kindOf(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(pathFromUtf8(path), error);
  if (!fs::exists(status)) return EntryKind::Missing;
  if (fs::is_regular_file(status)) return EntryKind::File;
  if (fs::is_directory(status)) return EntryKind::Folder;
  return EntryKind::Special;
}

bool isReadableFile(const std::string& path) {
  if (path.empty() || kindOf(path) != EntryKind::File) return false;
#ifdef _WIN32
  HANDLE file = CreateFileW(pathFromUtf8(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
#endif
}

bool isExecutableFile(const std::string& path) {
  if (path.empty() || kindOf(path) != EntryKind::File) return false;
#ifdef _WIN32
  return true;
#else
  return ::access(path.c_str(), X_OK) == 0;
#endif
}

std::optional<std::int64_t> modificationTime(const std::string& path) {
#ifdef _WIN32
  struct _stat64 st {};
  if (_wstat64(pathFromUtf8(path).c_str(), &st) != 0) return std::nullopt;
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
#endif
  return static_cast<std::int64_t>(st.st_mtime);
}

namespace {

// Reads the regular file at path: all of it when `truncate` is false (a file
// larger than limit is refused), or at most its first `limit` bytes.
std::optional<FileError> readFile(const std::string& path, std::string& content,
                                  std::uint64_t limit, bool truncate) {
  FileReader reader;
  if (auto refused = reader.open(path)) return refused;
  const std::uint64_t bytes = reader.size();
  if (bytes > limit && !truncate)
    return FileError{FileError::Kind::TooLarge, "is too large", bytes};
  const std::uint64_t wanted = std::min(bytes, limit);
  if (wanted > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()))
    return FileError{FileError::Kind::TooLarge, "is too large", bytes};

  std::string text;
  try {
    // One read into a buffer of the file's size, advised onto huge pages:
    // growing the text in small steps spends most of the time in page
    // faults for tens of megabytes.
    text.reserve(static_cast<std::size_t>(wanted));
    platform::adviseLargeBuffer(text.data(), text.capacity());
    text.resize(static_cast<std::size_t>(wanted));
  } catch (const std::bad_alloc&) {
    return FileError{FileError::Kind::TooLarge, "is too large for the memory available", bytes};
  } catch (const std::length_error&) {
    return FileError{FileError::Kind::TooLarge, "is too large", bytes};
  }

  std::size_t done = 0;
  while (done < text.size()) {
    const std::ptrdiff_t got = reader.read(text.data() + done, text.size() - done);
    if (got < 0) return reader.failure();
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  content = std::move(text);
  return std::nullopt;
}

}  // namespace

std::optional<FileError> readWhole(const std::string& path, std::string& content,
                                   std::uint64_t maxBytes) {
  return readFile(path, content, maxBytes, false);
}

std::optional<FileError> readStart(const std::string& path, std::size_t count,
                                   std::string& content) {
  return readFile(path, content, count, true);
}

FileReader::~FileReader() { close(); }

void FileReader::close() {
#ifdef _WIN32
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
#else
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
#endif
}

std::optional<FileError> FileReader::open(const std::string& path) {
  close();
  failure_.reset();
  // A dangling link, an empty name or one that cannot be looked at counts
  // as missing.
  const EntryKind kind = path.empty() ? EntryKind::Missing : kindOf(path);
  if (kind == EntryKind::Missing)
    return failure_ = FileError{FileError::Kind::Missing, "No such file or directory", 0};
  if (kind == EntryKind::Folder || kind == EntryKind::Special) return failure_ = notAFile(kind);
#ifdef _WIN32
  HANDLE file = CreateFileW(pathFromUtf8(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
      return failure_ = FileError{FileError::Kind::Missing, windowsReason(code), 0};
    return failure_ = FileError{FileError::Kind::System, windowsReason(code), 0};
  }
  handle_ = file;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    close();
    return failure_ = notAFile(EntryKind::Special);
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    failure_ = FileError{FileError::Kind::System, windowsReason(GetLastError()), 0};
    close();
    return failure_;
  }
  size_ = static_cast<std::uint64_t>(size.QuadPart);
#else
  // Non-blocking, so a pipe that slipped in after the check above cannot
  // hang the open; it is refused by the type check that follows.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ENOENT)
      return failure_ = FileError{FileError::Kind::Missing, std::strerror(errno), 0};
    return failure_ = systemError(errno);
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    failure_ = systemError(errno);
    close();
    return failure_;
  }
  if (!S_ISREG(st.st_mode)) {
    close();
    return failure_ = notAFile(S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Special);
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
#endif
  return std::nullopt;
}

std::ptrdiff_t FileReader::read(char* to, std::size_t n) {
#ifdef _WIN32
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
  if (!handle_ || !ReadFile(static_cast<HANDLE>(handle_), to, want, &got, nullptr)) {
    failure_ = FileError{FileError::Kind::System, windowsReason(GetLastError()), 0};
    return -1;
  }
  return static_cast<std::ptrdiff_t>(got);
#else
  while (true) {
    const ssize_t got = fd_ < 0 ? -1 : ::read(fd_, to, n);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    failure_ = systemError(fd_ < 0 ? EBADF : errno);
    return -1;
  }
#endif
}

bool FileReader::rewind() {
#ifdef _WIN32
  LARGE_INTEGER zero{};
  return handle_ && SetFilePointerEx(static_cast<HANDLE>(handle_), zero, nullptr, FILE_BEGIN);
#else
  return fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
#endif
}

bool isReadOnly(const std::string& path) {
  const std::optional<FileError> refused = checkWritableTarget(pathFromUtf8(path));
  return refused && refused->kind == FileError::Kind::ReadOnly;
}

std::optional<FileError> moveOver(const std::string& from, const std::string& to) {
  return moveOver(pathFromUtf8(from), pathFromUtf8(to));
}

std::string writeTarget(const std::string& path) {
  fs::path current = pathFromUtf8(path);
  std::error_code error;
  // Follow a chain of links (a loop ends after a bounded number of steps;
  // the write then fails with the system's reason).
  for (int step = 0; step < 40; ++step) {
    if (!fs::is_symlink(fs::symlink_status(current, error))) break;
    const fs::path next = fs::read_symlink(current, error);
    if (error) break;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return utf8FromPath(current);
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(pathFromUtf8(a), pathFromUtf8(b), error) && !error;
}

AtomicWriter::~AtomicWriter() { abandon(); }

std::optional<FileError> AtomicWriter::open(const std::string& path) {
  abandon();
  target_ = writeTarget(path);
  const fs::path target = pathFromUtf8(target_);
  if (auto refused = checkWritableTarget(target)) return refused;

  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  fs::path temporary;
#ifndef _WIN32
  // Ctrl+C or a termination between making the temporary file and holding
  // it for removal would leave it behind: they wait until it is held.
  sigset_t interrupts, before;
  sigemptyset(&interrupts);
  sigaddset(&interrupts, SIGINT);
  sigaddset(&interrupts, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &interrupts, &before);
  struct Unblock {
    sigset_t* mask;
    ~Unblock() { pthread_sigmask(SIG_SETMASK, mask, nullptr); }
  } unblock{&before};
#endif
  for (unsigned attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary = temporaryNameIn(folder, attempt);
    fd_ = openForWriting(temporary);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    FileError failure = systemError(errno);
    failure.reason = "no temporary file can be made beside it: " + failure.reason;
    return failure;
  }
  temporary_ = utf8FromPath(temporary);
  slot_ = holdForCleanup(temporary);
#ifndef _WIN32
  // The new file keeps the permission bits of the one it replaces.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd_, st.st_mode & 07777);
#endif
  return std::nullopt;
}

std::optional<FileError> AtomicWriter::write(std::string_view bytes) {
  if (fd_ < 0) return FileError{FileError::Kind::System, "the file is not open for writing", 0};
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto written = writeSome(fd_, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      const FileError failure = systemError(errno);
      abandon();
      return failure;
    }
    done += static_cast<std::size_t>(written);
  }
  return std::nullopt;
}

std::optional<FileError> AtomicWriter::commit(Durability durability) {
  if (fd_ < 0) return FileError{FileError::Kind::System, "the file is not open for writing", 0};
  const bool flushed = durability == Durability::Flushed;
  std::optional<FileError> failure;
  if (flushed && flushToDisk(fd_) != 0) failure = systemError(errno);
  if (closeFile(fd_) != 0 && !failure) failure = systemError(errno);
  fd_ = -1;
  if (!failure) failure = moveOver(pathFromUtf8(temporary_), pathFromUtf8(target_));
  if (failure) {
    abandon();
    return failure;
  }
#ifndef _WIN32
  if (flushed) flushFolder(pathFromUtf8(target_).parent_path());
#endif
  releaseCleanup(slot_);
  slot_ = -1;
  temporary_.clear();
  return std::nullopt;
}

void AtomicWriter::abandon() {
  if (fd_ >= 0) closeFile(fd_);
  fd_ = -1;
  if (!temporary_.empty()) {
    std::error_code ignored;
    fs::remove(pathFromUtf8(temporary_), ignored);
  }
  releaseCleanup(slot_);
  slot_ = -1;
  temporary_.clear();
}

std::optional<FileError> replaceWhole(const std::string& path, std::string_view bytes) {
  AtomicWriter writer;
  if (auto failure = writer.open(path)) return failure;
  if (auto failure = writer.write(bytes)) return failure;
  return writer.commit();
}

void removeTemporariesOnInterrupt() {
  std::signal(SIGINT, removeTemporariesAndStop);
  std::signal(SIGTERM, removeTemporariesAndStop);
}

}  // namespace vantrel::files
