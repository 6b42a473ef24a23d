#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel::test {

#ifdef _WIN32
inline constexpr const char* kExeSuffix = ".exe";
#else
inline constexpr const char* kExeSuffix = "";
#endif

// A fresh empty folder, removed again when the object goes.
class TempFolder {
 public:
  TempFolder() {
    // Test cases run in parallel processes: create_directory tells whether
    // a name was still free, so no two of them share a folder.
    static int counter = 0;
    do
      path_ =
          std::filesystem::temp_directory_path() / ("vantrel-core-" + std::to_string(counter++));
    while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  // The native form, as the program's own code would build it.
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The folder of the running test program, where the build puts the helper
// programs as well.
inline std::filesystem::path programFolder() {
#ifdef _WIN32
  char buffer[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::filesystem::path(buffer).parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

inline std::string helperProgram() {
  return (programFolder() / (std::string("core_test_child") + kExeSuffix)).string();
}

// Makes a folder current for the lifetime of the object.
struct CurrentFolder {
  explicit CurrentFolder(const std::filesystem::path& folder) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(previous); }
  const std::filesystem::path previous = std::filesystem::current_path();
};

}  // namespace vantrel::test
