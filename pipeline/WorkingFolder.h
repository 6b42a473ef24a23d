#pragma once
#include <optional>
#include <string>
#include <string_view>

// The working folder "TempFiles" in the program folder, where converted XML
// and the working copies of other files live.
namespace vantrel::pipeline {

std::string workingFolderPath(const std::string& programFolder);
std::string workingFilePath(const std::string& programFolder, std::string_view name);

// Creates the working folder when it is missing (one level). nullopt when it
// exists afterwards; otherwise the message for the user, naming the folder
// and the reason.
std::optional<std::string> ensureWorkingFolder(const std::string& programFolder);

}  // namespace vantrel::pipeline
