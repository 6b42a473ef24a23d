#pragma once
// A made-up home folder holding a Steam tree for the tests that find the
// simulator through Steam: libraries, game folders, app manifests and Proton
// prefixes with a Wine registry file. Linux only (links, HOME).
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace vantrel::testing {

// The system.reg of a 64-bit Wine prefix (as Proton makes them) whose
// 32-bit view names windowsFolder as the simulator's installation folder;
// with an empty windowsFolder the file holds no such key.
inline std::string wineSystemReg(const std::string& windowsFolder) {
  std::string text =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
  if (windowsFolder.empty()) return text + "[Software\\\\Wow6432Node\\\\Other] 1\n@=\"x\"\n";
  std::string escaped;
  for (char c : windowsFolder) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return text +
         "[Software\\\\Wow6432Node\\\\Rail Simulator\\\\Packager Manager\\\\Installation] "
         "1700000000\n#time=1da0f0e0d0c0b0a\n@=\"" +
         escaped + "\"\n\n";
}

class FakeSteamHome {
 public:
  FakeSteamHome() {
    std::random_device random;
    do
      home_ = std::filesystem::temp_directory_path() / ("vantrel-home-" + std::to_string(random()));
    while (!std::filesystem::create_directory(home_));
  }
  ~FakeSteamHome() {
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }
  FakeSteamHome(const FakeSteamHome&) = delete;
  FakeSteamHome& operator=(const FakeSteamHome&) = delete;

  const std::filesystem::path& home() const { return home_; }
  // Where Steam lives by default, and the link to it that Steam makes.
  std::filesystem::path steam() const { return home_ / ".local" / "share" / "Steam"; }
  std::filesystem::path steamLink() const { return home_ / ".steam" / "steam"; }

  // The Steam folder with its steamapps, and ~/.steam/steam linking to it.
  void installSteam(bool withLink = true) {
    std::filesystem::create_directories(steam() / "steamapps" / "common");
    if (!withLink) return;
    std::filesystem::create_directories(steamLink().parent_path());
    std::filesystem::create_directory_symlink(steam(), steamLink());
  }

  static void write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }

  // A game folder under the library's steamapps/common holding a file
  // named converterName.
  static std::filesystem::path addGame(const std::filesystem::path& library,
                                       const std::string& folder,
                                       const std::string& converterName = "serz.exe") {
    const auto game = library / "steamapps" / "common" / folder;
    write(game / converterName, "MZ");
    return game;
  }

  static void addManifest(const std::filesystem::path& library, const std::string& fileId,
                          const std::string& body) {
    write(library / "steamapps" / ("appmanifest_" + fileId + ".acf"),
          "\"AppState\"\n{\n" + body + "}\n");
  }
  // A manifest as Steam writes it.
  static void addManifest(const std::filesystem::path& library, const std::string& appId,
                          const std::string& installDir, const std::string& name) {
    addManifest(library, appId,
                "\t\"appid\"\t\t\"" + appId + "\"\n\t\"universe\"\t\t\"1\"\n\t\"name\"\t\t\"" +
                    name + "\"\n\t\"StateFlags\"\t\t\"4\"\n\t\"installdir\"\t\t\"" + installDir +
                    "\"\n\t\"UserConfig\"\n\t{\n\t\t\"language\"\t\t\"english\"\n\t}\n");
  }

  // The Proton prefix of appId in the library: drives C and Z as Proton
  // lays them out (dosdevices/c: linking to drive_c, z: to the root) and a
  // registry naming windowsFolder. Returns drive_c.
  static std::filesystem::path addProtonPrefix(const std::filesystem::path& library,
                                               const std::string& appId,
                                               const std::string& windowsFolder) {
    const auto prefix = library / "steamapps" / "compatdata" / appId / "pfx";
    std::filesystem::create_directories(prefix / "drive_c");
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    std::filesystem::create_directory_symlink("/", prefix / "dosdevices" / "z:");
    write(prefix / "system.reg", wineSystemReg(windowsFolder));
    return prefix / "drive_c";
  }

 private:
  std::filesystem::path home_;
};

}  // namespace vantrel::testing
