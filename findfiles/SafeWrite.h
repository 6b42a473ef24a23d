#pragma once
#include <optional>
#include <string>
#include <string_view>

// Writing a rebuilt .bin the way Save .bin does: the new bytes go to a
// free ".saving" name beside the file and are read back and compared; the
// old file then also takes the first free backup name (.bak, .bak1 ..
// .bak4: a second link to it, or a copy), and only then the new file is
// renamed over it. A failure at any step leaves the file as it was and no
// new name behind.
namespace vantrel::findfiles::detail {

struct SafeWriteResult {
  std::optional<std::string> failure;  // why the file was left as it was
  std::string backup;                  // the backup made; empty for a new file
};

// Replaces the regular file at target (links already resolved), or makes
// it (with its folders) when newFile is set; refused when target exists
// then, when it is read-only, and when all five backup names are taken.
SafeWriteResult writeWithBackup(const std::string& target, std::string_view bytes, bool newFile);

// Puts the backup back as target in one rename (target's current content
// goes): what undoing a rewrite needs.
std::optional<std::string> restoreBackup(const std::string& backup, const std::string& target);

// Whether anything is at path (also a dangling link).
bool nameTaken(const std::string& path);

}  // namespace vantrel::findfiles::detail
