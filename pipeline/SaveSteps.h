#pragma once
#include <optional>
#include <string>
#include <system_error>

// The steps by which a rebuilt .bin replaces the old one, shared by Save
// .bin and Replace in Files: the new version is written to a free
// "NAME.saving.bin" beside it (a rename within one folder puts it in
// place), and the old file is kept under its backup name as a second link
// to it, or a copy.
namespace vantrel::pipeline {

// A name is taken when anything is there, also a file that cannot be read
// or a dangling link: renaming onto it would destroy it.
bool nameTaken(const std::string& path);

// "NAME.savingN.EXT" beside binPath ("NAME.saving.EXT" for n = 1).
std::string savingName(const std::string& binPath, int n);
// The first of the nine saving names that is not taken.
std::optional<std::string> freeSavingName(const std::string& binPath);

void removeQuietly(const std::string& path);

// The old .bin also under its backup name: a second name for the same file
// where the file system has them, else a copy with the old time (the
// oldest backup is found by its time).
std::error_code keepAsBackup(const std::string& binPath, const std::string& backupPath);

}  // namespace vantrel::pipeline
