#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Every file the program reads or writes goes through here: whole-file
// reading that never blocks on a pipe or device, and writing that replaces
// a file only once the new content is completely on disk (a temporary file
// beside the target, flushed, then renamed over it).
//
// Paths are UTF-8 strings everywhere in the program; on Windows they are
// handed to the wide (UTF-16) file API (platform/core/WideText.h), so any
// name a user can type works.
namespace vantrel::files {

enum class EntryKind {
  Missing,  // nothing there, or a dangling link
  File,     // a regular file (also through links)
  Folder,
  Special,  // a pipe, device or socket: never opened for reading
};
EntryKind kindOf(const std::string& path);

// A regular file that this user may open for reading (nothing is read).
bool isReadableFile(const std::string& path);

// A regular file that can be started as a program: on Windows any file, on
// other systems one this user may execute.
bool isExecutableFile(const std::string& path);

// Seconds since 1970 of the file's last change (links followed); nullopt
// when it cannot be looked at.
std::optional<std::int64_t> modificationTime(const std::string& path);

// Why a read or write failed.
struct FileError {
  enum class Kind {
    Missing,   // there is no file of that name
    NotAFile,  // a folder, pipe, device or socket
    TooLarge,  // larger than the caller can take; `size` says how large
    ReadOnly,  // the target is read-only: it is left alone
    System,    // the system's reason in `reason`
  };
  Kind kind = Kind::System;
  std::string reason;  // in words, for a message: "is a folder", "Permission denied", ...
  std::uint64_t size = 0;
};

inline constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Reads the whole regular file at path into content (replacing it). A
// folder, pipe or device is refused at once, and a file larger than
// maxBytes is refused before anything is read. content is unchanged on
// failure.
std::optional<FileError> readWhole(const std::string& path, std::string& content,
                                   std::uint64_t maxBytes = kNoLimit);

// Reads at most the first `count` bytes of the regular file at path, as
// readWhole does (pipes and devices refused at once).
std::optional<FileError> readStart(const std::string& path, std::size_t count,
                                   std::string& content);

// Reads a regular file a piece at a time, for input too large to hold
// whole. A folder, pipe or device is refused at open, as readWhole does.
class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  std::optional<FileError> open(const std::string& path);
  // The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to n bytes: how many were read, 0 at the end, -1 on failure
  // (failure() says why).
  std::ptrdiff_t read(char* to, std::size_t n);
  // Back to the first byte.
  bool rewind();
  const std::optional<FileError>& failure() const { return failure_; }

 private:
  void close();
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::uint64_t size_ = 0;
  std::optional<FileError> failure_;
};

// The file a write to path lands in: path itself, or, when path is a
// symbolic link, the file it finally points to (the link stays as it is).
std::string writeTarget(const std::string& path);

// True when both paths name the same existing file (links followed).
bool sameFile(const std::string& a, const std::string& b);

// True when the file at path may not be written: the read-only attribute
// on Windows; elsewhere no write permission for anybody, or none for us.
bool isReadOnly(const std::string& path);

// Renames from over to in one step (to is replaced when it exists).
std::optional<FileError> moveOver(const std::string& from, const std::string& to);

// Writes a file in one step: the content goes to a temporary file beside
// the target, and only commit() renames it over the target. The target is
// resolved through symbolic links, keeps its permission bits, and is
// refused when it is read-only. Without a commit (an error, an exception,
// an interrupt with interrupt cleanup installed) the temporary file is
// removed and the target is untouched.
class AtomicWriter {
 public:
  AtomicWriter() = default;
  ~AtomicWriter();
  AtomicWriter(const AtomicWriter&) = delete;
  AtomicWriter& operator=(const AtomicWriter&) = delete;

  std::optional<FileError> open(const std::string& path);
  std::optional<FileError> write(std::string_view bytes);
  // Flushes to disk, closes and renames over the target. Output that can
  // be made again from a source that stays as it was may skip the flush
  // (Durability::Unflushed): it is still complete under its name once
  // committed, only not yet on the disk if the power fails.
  enum class Durability { Flushed, Unflushed };
  std::optional<FileError> commit(Durability durability = Durability::Flushed);
  // Removes the temporary file; the target is untouched.
  void abandon();

  const std::string& target() const { return target_; }

 private:
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int slot_ = -1;  // place in the interrupt cleanup table
};

// open + write + commit.
std::optional<FileError> replaceWhole(const std::string& path, std::string_view bytes);

// Command-line tools call this once: an interrupt (Ctrl+C, SIGTERM) then
// removes every temporary file an AtomicWriter still holds before the
// process ends.
void removeTemporariesOnInterrupt();

}  // namespace vantrel::files
