#include "converter/FileIo.h"

#include "platform/core/LargeBuffer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace serz::io {
namespace {

std::string systemReason() { return std::strerror(errno); }

constexpr std::size_t kMaxWrite = 1u << 30;  // per call, so the count fits an int

#ifdef _WIN32
int createNew(const std::string& path) {
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int writeSome(int fd, const char* data, std::size_t n) {
    return _write(fd, data, static_cast<unsigned>(n < kMaxWrite ? n : kMaxWrite));
}
bool flushToDisk(int fd) { return _commit(fd) == 0; }
int closeFile(int fd) { return _close(fd); }

bool replace(const std::string& from, const std::string& to, std::string& error) {
    // std::filesystem::rename may refuse an existing target on Windows.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    error = "cannot replace the file (Windows error " + std::to_string(GetLastError()) + ")";
    return false;
}
#else
int createNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
int writeSome(int fd, const char* data, std::size_t n) {
    return static_cast<int>(::write(fd, data, n < kMaxWrite ? n : kMaxWrite));
}
bool flushToDisk(int fd) { return ::fsync(fd) == 0; }
int closeFile(int fd) { return ::close(fd); }

bool replace(const std::string& from, const std::string& to, std::string& error) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = systemReason();
    return false;
}
#endif

// ".~sz" and four hex digits in the folder of `path`.
std::string temporaryName(const std::string& path, unsigned number) {
    char name[16];
    std::snprintf(name, sizeof name, ".~sz%04x", number & 0xFFFFu);
    return (std::filesystem::path(path).parent_path() / name).string();
}

}  // namespace

bool readFile(const std::string& path, std::string& content, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "is a folder, not a file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = systemReason();
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        error = "cannot determine the file size";
        return false;
    }
    content.clear();
    content.reserve(static_cast<std::size_t>(size));
    vantrel::platform::adviseLargeBuffer(content.data(), content.capacity());
    content.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(content.data(), size)) {
        error = "read error";
        return false;
    }
    return true;
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::open(const std::string& path) {
    discard();
    path_ = path;
    error_.clear();
    std::random_device random;
    // Another conversion into the same folder may hold a name: try others.
    for (int attempt = 0; attempt < 64; ++attempt) {
        temp_ = temporaryName(path, random());
        fd_ = createNew(temp_);
        if (fd_ >= 0) return true;
        if (errno != EEXIST) break;
    }
    error_ = systemReason();
    temp_.clear();
    return false;
}

bool ReplacingFile::write(std::string_view bytes) {
    if (fd_ < 0) {
        if (error_.empty()) error_ = "the file is not open";
        return false;
    }
    while (!bytes.empty()) {
        const int n = writeSome(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? systemReason() : "write error (disk full?)";
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) {
        if (error_.empty()) error_ = "the file is not open";
        return false;
    }
    const bool synced = flushToDisk(fd_);
    const std::string syncReason = synced ? std::string() : systemReason();
    const bool closed = closeFile(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) {
        error_ = !synced ? syncReason : systemReason();
        discard();
        return false;
    }
    if (!replace(temp_, path_, error_)) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

void ReplacingFile::discard() {
    if (fd_ >= 0) {
        closeFile(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        std::remove(temp_.c_str());
        temp_.clear();
    }
}

bool writeFileReplacing(const std::string& path, std::string_view content, std::string& error) {
    ReplacingFile file;
    if (file.open(path) && file.write(content) && file.commit()) return true;
    error = file.error();
    return false;
}

}  // namespace serz::io
