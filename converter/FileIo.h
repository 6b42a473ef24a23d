#pragma once
// Whole-file reading, and writing that replaces the target only once the
// new content is completely on disk.

#include <string>
#include <string_view>

namespace serz::io {

// On failure returns false and sets `error` to the reason.
bool readFile(const std::string& path, std::string& content, std::string& error);

// Writes a temporary file in the target's folder, then renames it over the
// target. On failure the target is untouched and the temporary file removed.
bool writeFileReplacing(const std::string& path, std::string_view content, std::string& error);

}  // namespace serz::io
