#pragma once
// Whole-file reading, and output that replaces its target only once the
// new content is completely on disk.

#include "converter/ByteSink.h"

#include <string>
#include <string_view>

namespace serz::io {

// On failure returns false and sets `error` to the reason.
bool readFile(const std::string& path, std::string& content, std::string& error);

// Output for `path`, written to a new temporary file beside it (".~sz" and
// four hex digits, so any name that fits the folder works) and moved over
// `path` by commit(), after it has been flushed to disk. Destroying it
// without a successful commit() removes the temporary file; `path` is then
// untouched.
class ReplacingFile final : public ByteSink {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    bool open(const std::string& path);
    bool write(std::string_view bytes) override;
    bool commit();

    // Why open(), write() or commit() failed.
    const std::string& error() const { return error_; }
    bool failed() const { return !error_.empty(); }

private:
    void discard();

    std::string path_, temp_, error_;
    int fd_ = -1;
};

// The same for content already in memory.
bool writeFileReplacing(const std::string& path, std::string_view content, std::string& error);

}  // namespace serz::io
