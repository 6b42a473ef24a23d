#pragma once

// The application's title and version, as the About dialog shows them and
// as the message boxes use the title for their caption. The version is the
// CMake project's (project(... VERSION ...)), as the Windows version
// resource and the package name are.
#include "shell/AppVersion.h"

namespace vantrel::shell {

inline constexpr const char* kApplicationTitle = "Vantrel_BIN_Editor";

}  // namespace vantrel::shell
