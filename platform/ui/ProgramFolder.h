#pragma once
#include <string>

namespace vantrel::platform {

// The folder that holds the executable, as UTF-8 (as every path is),
// without a trailing separator. Tests may point it at a temporary folder.
std::string programFolder();
void setProgramFolderForTests(const std::string& folder);  // "" restores the real one

}  // namespace vantrel::platform
