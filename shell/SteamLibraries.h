#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "shell/KeyValuesText.h"

// Steam's game libraries on Linux: the Steam folder itself and the folders
// its libraryfolders.vdf lists. The home folder is a parameter so that tests
// can build a Steam tree of their own.
namespace vantrel::shell {

// The Steam folders under home that exist, each once however it is reached:
// ~/.steam/steam (usually a link), ~/.local/share/Steam and the Flatpak
// one, with links resolved.
std::vector<std::filesystem::path> steamFolders(const std::filesystem::path& home);

// The library folders a libraryfolders.vdf names, in its order. Both
// layouts Steam has written: "libraryfolders" { "0" { "path" "/x" ... } }
// and the older "LibraryFolders" { "1" "/x" }; only numbered entries are
// libraries (the others are Steam's counters).
std::vector<std::string> libraryPathsInList(const KeyValues& list);

// Every library that exists: each Steam folder, then the libraries its
// steamapps/libraryfolders.vdf and config/libraryfolders.vdf name; each
// folder once, links resolved. A list that is missing or broken adds
// nothing.
std::vector<std::filesystem::path> steamLibraries(const std::filesystem::path& home);

// The child of folder called name, matched exactly or else without case
// (older Steam folders say SteamApps); folder / name when none exists.
std::filesystem::path childNoCase(const std::filesystem::path& folder, const std::string& name);

}  // namespace vantrel::shell
