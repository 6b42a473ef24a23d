#pragma once

// The application's title and version, as the About dialog shows them and
// as the message boxes use the title for their caption.
namespace vantrel::shell {

inline constexpr const char* kApplicationTitle = "Vantrel_BIN_Editor";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 8;

}  // namespace vantrel::shell
