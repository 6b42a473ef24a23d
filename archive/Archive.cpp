#include "archive/Archive.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "archive/MemberPath.h"
#include "archive/MemberStart.h"
#include "archive/SizeText.h"
#include "platform/core/Files.h"

namespace vantrel::archive {

// Where streamed member bytes go: a file being written, or a string.
class Archive::Sink {
 public:
  virtual ~Sink() = default;
  virtual std::optional<std::string> take(std::string_view bytes) = 0;
};

namespace {

constexpr std::size_t kChunk = 256 * 1024;

std::string fileNameOf(std::string_view path) {
  const std::size_t last = path.find_last_of("/\\");
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

// libzip's messages start with a capital ("Not a zip archive"); they follow
// a colon in ours.
std::string lowerFirst(std::string text) {
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return text;
}

std::string zipErrorText(zip_error_t* error) { return lowerFirst(zip_error_strerror(error)); }

std::string zipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zipErrorText(&error);
  zip_error_fini(&error);
  return text;
}

bool isEncrypted(const zip_stat_t& stat) {
  return (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
}

bool isFolder(std::string_view name) {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// Closes a member opened with zip_fopen_index when it goes out of scope.
struct OpenMember {
  zip_file_t* file = nullptr;
  ~OpenMember() {
    if (file) zip_fclose(file);
  }
};

}  // namespace

Archive::Archive() = default;
Archive::~Archive() { close(); }

Archive::Archive(Archive&& other) noexcept { *this = std::move(other); }

Archive& Archive::operator=(Archive&& other) noexcept {
  if (this != &other) {
    close();
    zip_ = std::exchange(other.zip_, nullptr);
    bytes_ = std::move(other.bytes_);
    name_ = std::move(other.name_);
    members_ = std::move(other.members_);
    refused_ = std::move(other.refused_);
  }
  return *this;
}

void Archive::close() {
  // zip_discard: an archive opened read-only has nothing to write back.
  if (zip_) zip_discard(zip_);
  zip_ = nullptr;
  bytes_.reset();
  members_.clear();
  refused_.clear();
}

std::optional<std::string> Archive::open(const std::string& path) {
  close();
  const std::string name = fileNameOf(path);
  const std::string prefix = name + " is not a readable packed file: ";
  // A pipe or device would block libzip's reading; the files layer says
  // what the path is without opening it.
  switch (files::kindOf(path)) {
    case files::EntryKind::Missing:
      return prefix + "there is no such file";
    case files::EntryKind::Folder:
      return prefix + "it is a folder";
    case files::EntryKind::Special:
      return prefix + "it is not a regular file";
    case files::EntryKind::File:
      break;
  }
  // ZIP_RDONLY: libzip never writes the file. On Windows libzip takes the
  // path as UTF-8 and opens it through the wide file API.
  int code = 0;
  zip_t* handle = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!handle) return prefix + zipErrorText(code);
  return openHandle(handle, name);
}

std::optional<std::string> Archive::openBytes(std::string bytes, const std::string& name) {
  close();
  // libzip reads the buffer in place: it lives on the heap so that moving
  // the Archive does not move it.
  auto held = std::make_unique<std::string>(std::move(bytes));
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(held->data(), held->size(), 0, &error);
  zip_t* handle = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (!handle) {
    if (source) zip_source_free(source);
    std::string message = name + " is not a readable packed file: " + zipErrorText(&error);
    zip_error_fini(&error);
    return message;
  }
  zip_error_fini(&error);
  bytes_ = std::move(held);
  return openHandle(handle, name);
}

std::optional<std::string> Archive::openHandle(zip_t* handle, const std::string& name) {
  zip_ = handle;
  name_ = name;
  listMembers();
  return std::nullopt;
}

std::uint64_t Archive::entryCount() const {
  return zip_ ? static_cast<std::uint64_t>(zip_get_num_entries(zip_, 0)) : 0;
}

void Archive::listMembers() {
  MemberStart reader;
  const zip_int64_t count = zip_get_num_entries(zip_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip_, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) continue;
    const std::string_view name = stat.name;
    if (isFolder(name)) continue;
    std::optional<std::string> path = safeMemberPath(name);
    if (!path) {
      refused_.push_back({std::string(name), "has a name that leads outside the archive's folder"});
      continue;
    }
    if (isEncrypted(stat)) {
      refused_.push_back({*path, "is encrypted"});
      continue;
    }
    // Only the content tells a SERZ file: the simulator's binary files
    // carry many extensions (.bin, .dcsv, .proxybin, .TgPcDx, ...) and other
    // files may be named .bin.
    const MemberStart::Start start = reader.compare(zip_, index, stat, "SERZ");
    if (start == MemberStart::Start::Unreadable) {
      refused_.push_back({*path, "cannot be read: it is damaged or packed in an unknown way"});
      continue;
    }
    if (start == MemberStart::Start::Differs) continue;
    members_.push_back({std::move(*path), stat.size, index});
  }
  std::sort(members_.begin(), members_.end(), [](const Member& a, const Member& b) {
    return a.path != b.path ? a.path < b.path : a.index < b.index;
  });
}

std::optional<std::string> Archive::streamMember(std::uint64_t index, std::uint64_t limit,
                                                 Sink& sink) {
  if (!zip_) return "no packed file is open";
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip_, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
    return name_ + " has no member number " + std::to_string(index);
  const std::string_view storedName = stat.name;
  const std::optional<std::string> path = safeMemberPath(storedName);
  if (!path) {
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about
    // "literal" + std::string.
    std::string message(1, '"');
    message.append(storedName).append("\" in ").append(name_);
    return message.append(" has a name that leads outside the archive's folder");
  }
  const std::string what = *path + " in " + name_;
  if (isFolder(storedName)) return what + " is a folder";
  if (isEncrypted(stat)) return what + " is encrypted";
  if (!(stat.valid & ZIP_STAT_SIZE)) return what + " does not declare its size";
  const std::uint64_t declared = stat.size;
  if (declared > limit)
    return what + " is " + sizeText(declared) + ", more than the " + sizeText(limit) +
           " the editor can hold";

  OpenMember member{zip_fopen_index(zip_, index, 0)};
  if (!member.file) return what + " cannot be read: " + zipErrorText(zip_get_error(zip_));
  std::string chunk(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, declared + 1)), '\0');
  std::uint64_t total = 0;
  for (;;) {
    // Never more than one byte past the declared size: a member that
    // unpacks to more (a zip bomb) is caught at that byte.
    const std::uint64_t wanted = std::min<std::uint64_t>(chunk.size(), declared - total + 1);
    const zip_int64_t got = zip_fread(member.file, chunk.data(), wanted);
    if (got < 0) return what + " is damaged: " + zipErrorText(zip_file_get_error(member.file));
    if (got == 0) break;
    total += static_cast<std::uint64_t>(got);
    if (total > declared)
      return what + " unpacks to more than the " + sizeText(declared) +
             " it declares: the packed file is damaged or built to do harm";
    if (auto failed = sink.take(std::string_view(chunk.data(), static_cast<std::size_t>(got))))
      return failed;
  }
  if (total < declared)
    return what + " is cut short: " + std::to_string(total) + " of " + std::to_string(declared) +
           " bytes";
  return std::nullopt;
}

std::optional<std::string> Archive::extractMember(std::uint64_t index,
                                                  const std::string& destination,
                                                  std::uint64_t limit) {
  files::AtomicWriter writer;
  class IntoFile : public Sink {
   public:
    IntoFile(files::AtomicWriter& writer, const std::string& destination)
        : writer_(writer), destination_(destination) {}
    std::optional<std::string> take(std::string_view bytes) override {
      if (auto error = writer_.write(bytes))
        return "cannot write " + destination_ + ": " + error->reason;
      return std::nullopt;
    }

   private:
    files::AtomicWriter& writer_;
    const std::string& destination_;
  };
  if (auto error = writer.open(destination))
    return "cannot write " + destination + ": " + error->reason;
  IntoFile sink(writer, destination);
  if (auto failed = streamMember(index, limit, sink)) {
    writer.abandon();
    return failed;
  }
  if (auto error = writer.commit()) return "cannot write " + destination + ": " + error->reason;
  return std::nullopt;
}

std::optional<std::string> Archive::readMember(std::uint64_t index, std::string& content,
                                               std::uint64_t limit) {
  class IntoString : public Sink {
   public:
    explicit IntoString(std::string& content) : content_(content) {}
    std::optional<std::string> take(std::string_view bytes) override {
      content_.append(bytes);
      return std::nullopt;
    }

   private:
    std::string& content_;
  };
  content.clear();
  IntoString sink(content);
  auto failed = streamMember(index, limit, sink);
  if (failed) content.clear();
  return failed;
}

}  // namespace vantrel::archive
