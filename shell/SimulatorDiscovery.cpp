#include "shell/SimulatorDiscovery.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "shell/KeyValuesText.h"
#include "shell/Registry.h"
#include "shell/SteamLibraries.h"

namespace vantrel::shell {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kConverterName = "serz.exe";
constexpr std::size_t kMaxAppIdDigits = 20;

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool isAppId(std::string_view text) {
  return !text.empty() && text.size() <= kMaxAppIdDigits &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The entries of a folder sorted by name, so that the result does not
// depend on the order the file system lists them in.
std::vector<fs::path> sortedEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(it->path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool holdsConverter(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!equalNoCase(it->path().filename().string(), kConverterName)) continue;
    std::error_code typeError;
    if (fs::is_regular_file(it->path(), typeError)) return true;
  }
  return false;
}

bool isFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

}  // namespace

std::optional<fs::path> findGameFolder(const fs::path& library) {
  const fs::path common = childNoCase(childNoCase(library, "steamapps"), "common");
  for (const fs::path& folder : sortedEntries(common))
    if (isFolder(folder) && holdsConverter(folder)) return folder;
  return std::nullopt;
}

std::string findAppId(const fs::path& library, std::string_view folderName) {
  for (const fs::path& file : sortedEntries(childNoCase(library, "steamapps"))) {
    const std::string name = file.filename().string();
    if (!name.starts_with("appmanifest_") || !name.ends_with(".acf")) continue;
    const auto manifest = readKeyValuesFile(file);
    const KeyValues* state = manifest ? manifest->find("AppState") : nullptr;
    if (!state || !state->isBlock || !equalNoCase(state->textOf("installdir"), folderName))
      continue;
    // The id in the file, else the one in its name.
    std::string id = state->textOf("appid");
    if (id.empty()) id = name.substr(12, name.size() - 12 - 4);
    if (isAppId(id)) return id;
  }
  return {};
}

namespace {

std::optional<SteamInstallation> findInLibraries(const std::vector<fs::path>& libraries) {
  for (const fs::path& library : libraries) {
    if (auto folder = findGameFolder(library))
      return SteamInstallation{library, *folder, findAppId(library, folder->filename().string())};
  }
  return std::nullopt;
}

}  // namespace

std::optional<SteamInstallation> findSteamInstallation(const fs::path& home) {
  return findInLibraries(steamLibraries(home));
}

std::string simulatorFolderFromSteam(const fs::path& home) {
  const std::vector<fs::path> libraries = steamLibraries(home);
  const auto game = findInLibraries(libraries);
  if (!game) return {};
  if (!game->appId.empty()) {
    // Steam keeps a game's prefix in the game's library; older Steam kept
    // every prefix in its own folder.
    std::vector<fs::path> places{game->library};
    for (const fs::path& other : libraries)
      if (other != game->library) places.push_back(other);
    for (const fs::path& library : places) {
      const fs::path prefix = library / "steamapps" / "compatdata" / game->appId / "pfx";
      if (!isFolder(prefix)) continue;
      const fs::path named = readSimulatorFolderInPrefix(prefix.string());
      if (!named.is_absolute() || !isFolder(named)) continue;
      // dosdevices/c: and z: are links into drive_c and the root: the
      // dialogs get the folder itself.
      std::error_code ec;
      const fs::path resolved = fs::canonical(named, ec);
      return (ec ? named : resolved).string();
    }
  }
  return game->gameFolder.string();
}

std::string findSimulatorFolder() {
  std::string folder = readSimulatorFolder();
#ifndef _WIN32
  if (folder.empty()) {
    const char* home = std::getenv("HOME");
    if (home && *home) folder = simulatorFolderFromSteam(home);
  }
#endif
  return folder;
}

}  // namespace vantrel::shell
