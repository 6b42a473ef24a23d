#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Finding the simulator installed by Steam (played through Proton on
// Linux) when the Wine registry names no folder.
namespace vantrel::shell {

struct SteamInstallation {
  std::filesystem::path library;     // the library holding the game
  std::filesystem::path gameFolder;  // library/steamapps/common/NAME
  std::string appId;                 // "" when no manifest names the folder
};

// The first folder (by name) under the library's steamapps/common that
// holds serz.exe, its name in any case; nullopt when none does.
std::optional<std::filesystem::path> findGameFolder(const std::filesystem::path& library);

// The app id of the library's steamapps/appmanifest_ID.acf whose AppState
// installdir is folderName (without case); "" when none is. Only digits
// count as an id, as it becomes part of a path.
std::string findAppId(const std::filesystem::path& library, std::string_view folderName);

// The game in the first of the Steam libraries under home that holds it.
std::optional<SteamInstallation> findSteamInstallation(const std::filesystem::path& home);

// Where the dialogs start for a Steam installation: the folder that the
// registry of the game's Proton prefix (steamapps/compatdata/ID/pfx, in the
// game's library or another one) names, when that folder exists (links
// such as dosdevices/c: resolved); else the game folder. "" when Steam
// under home holds no game.
std::string simulatorFolderFromSteam(const std::filesystem::path& home);

// The simulator's folder for the file dialogs: the registry's
// (readSimulatorFolder()); on Linux, when that names none, the one found
// through Steam under HOME. "" when neither gives one.
std::string findSimulatorFolder();

}  // namespace vantrel::shell
