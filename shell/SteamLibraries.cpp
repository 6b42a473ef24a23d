#include "shell/SteamLibraries.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace vantrel::shell {

namespace fs = std::filesystem;

namespace {

// More than anyone has disks for; a list naming more is not Steam's.
constexpr std::size_t kMaxLibraries = 256;

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Adds folder when it is an existing folder not yet listed; the resolved
// form decides whether two names are the same folder.
void addOnce(std::vector<fs::path>& folders, const fs::path& folder) {
  std::error_code ec;
  if (folders.size() >= kMaxLibraries || folder.empty() || !folder.is_absolute() ||
      !fs::is_directory(folder, ec))
    return;
  const fs::path resolved = fs::canonical(folder, ec);
  if (ec) return;
  if (std::find(folders.begin(), folders.end(), resolved) == folders.end())
    folders.push_back(resolved);
}

}  // namespace

fs::path childNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  const fs::path exact = folder / name;
  if (fs::exists(exact, ec)) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (equalNoCase(it->path().filename().string(), name)) return it->path();
  return exact;
}

std::vector<fs::path> steamFolders(const fs::path& home) {
  std::vector<fs::path> folders;
  if (home.empty()) return folders;
  addOnce(folders, home / ".steam" / "steam");
  addOnce(folders, home / ".local" / "share" / "Steam");
  addOnce(folders,
          home / ".var" / "app" / "com.valvesoftware.Steam" / ".local" / "share" / "Steam");
  return folders;
}

std::vector<std::string> libraryPathsInList(const KeyValues& list) {
  std::vector<std::string> paths;
  const KeyValues* top = list.find("libraryfolders");
  if (!top || !top->isBlock) return paths;
  for (const KeyValues& entry : top->entries) {
    if (!allDigits(entry.key)) continue;
    const std::string path = entry.isBlock ? entry.textOf("path") : entry.text;
    if (!path.empty()) paths.push_back(path);
  }
  return paths;
}

std::vector<fs::path> steamLibraries(const fs::path& home) {
  std::vector<fs::path> libraries;
  for (const fs::path& steam : steamFolders(home)) {
    addOnce(libraries, steam);
    for (const fs::path& list : {childNoCase(steam, "steamapps") / "libraryfolders.vdf",
                                 steam / "config" / "libraryfolders.vdf"}) {
      const auto parsed = readKeyValuesFile(list);
      if (!parsed) continue;
      for (const std::string& path : libraryPathsInList(*parsed)) addOnce(libraries, path);
    }
  }
  return libraries;
}

}  // namespace vantrel::shell
