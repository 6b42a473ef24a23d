#pragma once
#include <string>

namespace vantrel::pipeline {

// Deletes the folder with everything in it, subfolders included, and with
// force: read-only files and read-only subfolders go too. A folder that is
// not there counts as deleted. On failure returns false with errorText set
// to the system's description; whatever could be deleted is gone.
bool DelAll(const std::string& DirtoDelete, std::string& errorText);

}  // namespace vantrel::pipeline
