// Finding the simulator through Steam in a made-up home folder: the
// libraries, the game folder, its manifest and its Proton prefix.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "shell/SimulatorDiscovery.h"
#include "shell/SteamLibraries.h"
#include "tests/support/FakeSteamHome.h"

namespace fs = std::filesystem;
using namespace vantrel::shell;
using vantrel::testing::FakeSteamHome;

namespace {

std::string libraryList(const fs::path& second) {
  return "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/nowhere/steam\"\n\t}\n"
         "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
         second.string() + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"24010\"\t\t\"1\"\n\t\t}\n\t}\n}\n";
}

fs::path real(const fs::path& p) { return fs::weakly_canonical(p); }

// Sets an environment variable for the object's lifetime.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* was = std::getenv(name)) old_ = was;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace

TEST(SteamLibraries, NoSteamAtAllOrSteamWithoutTheGameFindsNothing) {
  FakeSteamHome fake;
  EXPECT_TRUE(steamFolders(fake.home()).empty());
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), "");
  EXPECT_EQ(simulatorFolderFromSteam(""), "");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home() / "no such home"), "");

  fake.installSteam();
  FakeSteamHome::addGame(fake.steam(), "Other Game", "game.exe");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), "");
  // A folder called serz.exe is no converter.
  fs::create_directories(fake.steam() / "steamapps" / "common" / "Odd" / "serz.exe");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), "");
}

TEST(SteamLibraries, TheLinkedAndTheRealSteamFolderAreOneLibrary) {
  FakeSteamHome fake;
  fake.installSteam();
  // The list names the Steam folder again, through the link as well.
  FakeSteamHome::write(fake.steam() / "steamapps" / "libraryfolders.vdf",
                       "\"libraryfolders\" { \"0\" { \"path\" \"" + fake.steam().string() +
                           "\" } \"1\" { \"path\" \"" + fake.steamLink().string() + "\" } }");
  FakeSteamHome::write(fake.steam() / "config" / "libraryfolders.vdf",
                       "\"LibraryFolders\" { \"1\" \"" + fake.steamLink().string() + "/\" }");
  EXPECT_EQ(steamFolders(fake.home()), (std::vector<fs::path>{real(fake.steam())}));
  EXPECT_EQ(steamLibraries(fake.home()), (std::vector<fs::path>{real(fake.steam())}));

  // Only the link's target, no link: still one Steam folder.
  FakeSteamHome alone;
  alone.installSteam(false);
  EXPECT_EQ(steamFolders(alone.home()), (std::vector<fs::path>{real(alone.steam())}));
}

TEST(SteamLibraries, TheGameInTheSecondLibraryOfEitherListLayout) {
  FakeSteamHome fake;
  fake.installSteam();
  const fs::path disk = fake.home() / "games disk" / "SteamLibrary";
  FakeSteamHome::addGame(fake.steam(), "Other Game", "game.exe");
  const fs::path game = FakeSteamHome::addGame(disk, "RailWorks", "SERZ.EXE");
  FakeSteamHome::addManifest(disk, "24010", "RailWorks", "Train Simulator");

  // The new layout in steamapps/, naming a library that does not exist first.
  FakeSteamHome::write(fake.steam() / "steamapps" / "libraryfolders.vdf", libraryList(disk));
  EXPECT_EQ(steamLibraries(fake.home()), (std::vector<fs::path>{real(fake.steam()), real(disk)}));
  auto found = findSteamInstallation(fake.home());
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->library, real(disk));
  EXPECT_EQ(found->gameFolder, real(game));
  EXPECT_EQ(found->appId, "24010");
  // No Proton prefix yet: the game folder.
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());

  // The old layout, only in config/.
  fs::remove(fake.steam() / "steamapps" / "libraryfolders.vdf");
  EXPECT_EQ(steamLibraries(fake.home()).size(), 1u);
  FakeSteamHome::write(fake.steam() / "config" / "libraryfolders.vdf",
                       "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1\"\n\t\"1\"\t\t\"" +
                           disk.string() + "\"\n}\n");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());
}

TEST(SteamLibraries, ABrokenListStillSearchesTheSteamFolder) {
  FakeSteamHome fake;
  fake.installSteam();
  const fs::path disk = fake.home() / "disk";
  FakeSteamHome::addGame(disk, "RailWorks");
  FakeSteamHome::write(fake.steam() / "steamapps" / "libraryfolders.vdf",
                       libraryList(disk).substr(0, 60));
  EXPECT_EQ(steamLibraries(fake.home()), (std::vector<fs::path>{real(fake.steam())}));
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), "");

  const fs::path game = FakeSteamHome::addGame(fake.steam(), "Train Simulator");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());
}

TEST(SteamManifests, TheManifestWhoseInstallDirNamesTheFolderGivesTheId) {
  FakeSteamHome fake;
  const fs::path library = fake.home();
  FakeSteamHome::addManifest(library, "228980", "Steamworks Shared", "Steamworks Common");
  EXPECT_EQ(findAppId(library, "RailWorks"), "");
  FakeSteamHome::addManifest(library, "24010", "railworks", "Train Simulator");
  EXPECT_EQ(findAppId(library, "RailWorks"), "24010");  // installdir compared without case

  FakeSteamHome other;
  // Without an appid the file's name tells it; an id that is no number is
  // refused, as it would become part of a path; a broken one is skipped.
  FakeSteamHome::addManifest(other.home(), "1", "\"installdir\" \"Sim\"\n\"appid\" \"../../x\"\n");
  FakeSteamHome::addManifest(other.home(), "2", "\"installdir\" \"Sim\"\n\"appid\" ");
  EXPECT_EQ(findAppId(other.home(), "Sim"), "");
  FakeSteamHome::addManifest(other.home(), "3", "\"installdir\" \"Sim\"\n");
  EXPECT_EQ(findAppId(other.home(), "Sim"), "3");
}

TEST(ProtonPrefix, AFolderTheRegistryNamesIsUsedWhenItExists) {
  FakeSteamHome fake;
  fake.installSteam();
  const fs::path game = FakeSteamHome::addGame(fake.steam(), "RailWorks");
  FakeSteamHome::addManifest(fake.steam(), "24010", "RailWorks", "Train Simulator");

  // The registry names a folder that is not there: the game folder.
  fs::path driveC = FakeSteamHome::addProtonPrefix(
      fake.steam(), "24010", "C:\\Program Files (x86)\\Steam\\steamapps\\common\\RailWorks");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());

  // Now it is there: the folder itself, not the drive's link to it.
  const fs::path named =
      driveC / "Program Files (x86)" / "Steam" / "steamapps" / "common" / "RailWorks";
  fs::create_directories(named);
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(named).string());

  // A folder on drive Z, which is the root of the Linux file system.
  const fs::path prefix = real(fake.steam()) / "steamapps" / "compatdata" / "24010" / "pfx";
  const fs::path elsewhere = fake.home() / "elsewhere" / "Rail Works";
  fs::create_directories(elsewhere);
  std::string windows = "Z:" + elsewhere.string();
  std::replace(windows.begin(), windows.end(), '/', '\\');
  FakeSteamHome::write(prefix / "system.reg", vantrel::testing::wineSystemReg(windows));
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(elsewhere).string());

  // A registry without the key, or naming a folder relative to nothing.
  FakeSteamHome::write(prefix / "system.reg", vantrel::testing::wineSystemReg(""));
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());
  FakeSteamHome::write(prefix / "system.reg", vantrel::testing::wineSystemReg("steamapps"));
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(game).string());
}

TEST(ProtonPrefix, APrefixKeptInTheSteamFolderServesAGameOnAnotherDisk) {
  FakeSteamHome fake;
  fake.installSteam();
  const fs::path disk = fake.home() / "disk";
  FakeSteamHome::addGame(disk, "RailWorks");
  FakeSteamHome::addManifest(disk, "24010", "RailWorks", "Train Simulator");
  FakeSteamHome::write(fake.steam() / "steamapps" / "libraryfolders.vdf", libraryList(disk));
  const fs::path driveC = FakeSteamHome::addProtonPrefix(fake.steam(), "24010", "C:\\Sim");
  fs::create_directories(driveC / "Sim");
  EXPECT_EQ(simulatorFolderFromSteam(fake.home()), real(driveC / "Sim").string());
}

TEST(FindSimulatorFolder, TheWineRegistryFirstThenSteamUnderHome) {
  FakeSteamHome fake;
  fake.installSteam();
  const fs::path game = FakeSteamHome::addGame(fake.steam(), "RailWorks");
  const fs::path wine = fake.home() / "wine";
  ScopedEnvironment home("HOME", fake.home().string());
  ScopedEnvironment prefix("WINEPREFIX", wine.string());

  // An empty prefix: the game found through Steam.
  fs::create_directories(wine);
  EXPECT_EQ(findSimulatorFolder(), real(game).string());
  FakeSteamHome::write(wine / "system.reg", vantrel::testing::wineSystemReg("D:\\Sim"));
  EXPECT_EQ(findSimulatorFolder(), wine.string() + "/dosdevices/d:/Sim");
}
#endif
