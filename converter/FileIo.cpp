#include "converter/FileIo.h"

#include "platform/core/LargeBuffer.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace serz::io {
namespace {

std::string systemReason() { return std::strerror(errno); }

std::string temporaryNameFor(const std::string& path) {
    std::random_device rd;
    const auto seed = static_cast<unsigned long long>(rd()) ^
                      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08llx.serz-tmp", seed & 0xFFFFFFFFull);
    return path + suffix;
}

bool replace(const std::string& from, const std::string& to, std::string& error) {
#ifdef _WIN32
    // std::filesystem::rename may refuse an existing target on Windows.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    error = "cannot replace the file (Windows error " + std::to_string(GetLastError()) + ")";
    return false;
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (!ec) return true;
    error = ec.message();
    return false;
#endif
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

bool writeFileReplacing(const std::string& path, std::string_view content, std::string& error) {
    const std::string temp = temporaryNameFor(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = systemReason();
            return false;
        }
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            error = "write error (disk full?)";
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (!replace(temp, path, error)) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace serz::io
