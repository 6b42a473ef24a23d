#pragma once
#include <cstdint>
#include <string>

#include "platform/core/Truth.h"

// The file and process utilities by the names and truth values the rest of
// the program was first written against. Each is a thin edge over the
// platform layer (files::isReadableFile, files::kindOf,
// platform::runProgram), which new code calls directly. None shows a
// message; each turns every failure into its result.
namespace vantrel {

// True when the file at path can be opened for reading (a folder, a missing
// file, an empty path or an unreadable file give False). Nothing is read.
Truth FileCanOpen(const std::string& path);

// True when path names an existing folder. One trailing backslash (and, on
// Linux, one trailing '/') is removed from the caller's variable first.
Truth DirExists(std::string& path);

// Starts commandLine (split by the Windows rules) with the window style
// (0 hidden, 1 normal with focus) and waits until the process has ended,
// pausing 50 ms before every check and processing pending window messages
// after each pause when pump is not False. Returns the process identifier,
// 0 when the program could not be started (at once, without waiting).
double RunAndWait(const std::string& commandLine, Truth pump, std::int32_t windowStyle);

}  // namespace vantrel
