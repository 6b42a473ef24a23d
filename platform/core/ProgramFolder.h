#pragma once
#include <string>

namespace vantrel::platform {

// The folder that holds the running executable, in UTF-8, without a
// trailing separator (except at a root: "/" or "C:\"). Tests may point it
// at a temporary folder.
std::string programFolder();
void setProgramFolderForTests(const std::string& folder);  // "" restores the real one

}  // namespace vantrel::platform
