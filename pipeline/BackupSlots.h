#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Backups beside a saved .bin: ".bak", ".bak1" .. ".bak4" appended to the
// full name, the first free one in that order.
namespace vantrel::pipeline {

inline constexpr const char* kBackupSuffixes[] = {".bak", ".bak1", ".bak2", ".bak3", ".bak4"};

// The first backup name for which exists() is false; nullopt when all five
// are taken (the save must then be refused: nothing may be overwritten).
std::optional<std::string> firstFreeBackup(std::string_view binPath,
                                           const std::function<bool(const std::string&)>& exists);

}  // namespace vantrel::pipeline
