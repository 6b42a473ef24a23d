#include "pipeline/UniFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/core/LargeBuffer.h"

namespace vantrel::pipeline {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string systemError(int error) { return std::strerror(error); }

}  // namespace

bool readWholeFile(const std::string& path, std::string& text, std::string& errorText) {
  errno = 0;
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    if (errno != ENOENT && errno != 0) errorText = systemError(errno);
    return false;
  }
  // Read in one call into a buffer of the file's size (advised onto huge
  // pages): for a 50 MB working XML, growing the text in small steps spent
  // most of the open in page faults. A file that grows meanwhile is read on.
  std::string content;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(f.get());
    std::rewind(f.get());
    if (size > 0) {
      content.reserve(static_cast<std::size_t>(size));
      platform::adviseLargeBuffer(content.data(), content.capacity());
      content.resize(static_cast<std::size_t>(size));
      content.resize(std::fread(content.data(), 1, content.size(), f.get()));
    }
  }
  char buffer[64 * 1024];
  while (!std::feof(f.get()) && !std::ferror(f.get())) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    content.append(buffer, n);
  }
  if (std::ferror(f.get())) {
    errorText = systemError(errno ? errno : EIO);
    return false;
  }
  text = std::move(content);
  return true;
}

bool writeWholeFile(const std::string& path, std::string_view text, std::string& errorText) {
  errno = 0;
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    errorText = systemError(errno ? errno : EIO);
    return false;
  }
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f.get()) != text.size()) {
    errorText = systemError(errno ? errno : EIO);
    return false;
  }
  // Closing flushes: a full disk shows up here.
  if (std::fclose(f.release()) != 0) {
    errorText = systemError(errno ? errno : EIO);
    return false;
  }
  return true;
}

std::string writeUniFileFailureText(std::string_view description, std::string_view path) {
  return std::string(description) + " occurred in WriteUniFile while processing\r\nfile " +
         std::string(path);
}

}  // namespace vantrel::pipeline
