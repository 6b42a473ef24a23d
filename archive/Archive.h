#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

// A packed file of the simulator (.ap: a plain ZIP file, ZIP64 included),
// opened read-only through libzip: the file is never written, renamed or
// locked. Every failure is a message for the user, never a crash: archives
// come from anywhere, and some are built to do harm (names that leave the
// folder, members that unpack to far more than they declare).
//
// One Archive is used from one thread at a time (libzip's archive handle is
// not shared between threads).
namespace vantrel::archive {

// A member that holds a SERZ file.
struct Member {
  std::string path;         // the safe relative path, '/' between folders
  std::uint64_t size = 0;   // uncompressed, as the archive declares it
  std::uint64_t index = 0;  // libzip's number for it, for extractMember
};

// A member that may be a SERZ file but cannot be offered, and why.
struct RefusedMember {
  std::string name;    // as the archive stores it (may be hostile)
  std::string reason;  // "is encrypted", ...
};

// The most a member may unpack to unless the caller says otherwise.
inline constexpr std::uint64_t kDefaultMemberLimit = std::uint64_t{2} << 30;

class Archive {
 public:
  Archive();
  ~Archive();
  Archive(Archive&&) noexcept;
  Archive& operator=(Archive&&) noexcept;

  // Opens the archive at path (UTF-8) and lists its SERZ members. On failure
  // returns "NAME.ap is not a readable packed file: <reason>" and the
  // archive stays closed.
  std::optional<std::string> open(const std::string& path);
  // The same for an archive held in memory; name stands for it in messages.
  std::optional<std::string> openBytes(std::string bytes, const std::string& name);

  bool isOpen() const { return zip_ != nullptr; }

  // The members whose content starts with "SERZ", sorted by path. Folders,
  // other files and refused members are left out.
  const std::vector<Member>& members() const { return members_; }
  // Members left out because their name is unsafe, they are encrypted, or
  // their first bytes could not be read.
  const std::vector<RefusedMember>& refused() const { return refused_; }

  // Writes member number index into the file at destination (whose folder
  // must exist): the bytes go to a temporary file beside it that becomes
  // destination only once the member is whole and checked, so a failure
  // leaves nothing behind. Refused with a message: an unsafe name, an
  // encrypted member, a declared size above limit, more bytes than the
  // declared size (stopped at the first byte too many), fewer bytes, and
  // damaged data.
  std::optional<std::string> extractMember(std::uint64_t index, const std::string& destination,
                                           std::uint64_t limit = kDefaultMemberLimit);
  // The same checks, into memory (content is replaced; emptied on failure).
  std::optional<std::string> readMember(std::uint64_t index, std::string& content,
                                        std::uint64_t limit = kDefaultMemberLimit);

  // Every entry of the archive, members and folders alike.
  std::uint64_t entryCount() const;

 private:
  class Sink;
  std::optional<std::string> openHandle(struct zip* handle, const std::string& name);
  void listMembers();
  std::optional<std::string> streamMember(std::uint64_t index, std::uint64_t limit, Sink& sink);
  void close();

  struct zip* zip_ = nullptr;
  std::unique_ptr<std::string> bytes_;  // what an archive opened from memory reads
  std::string name_;                    // the archive's file name, for messages
  std::vector<Member> members_;
  std::vector<RefusedMember> refused_;
};

}  // namespace vantrel::archive
