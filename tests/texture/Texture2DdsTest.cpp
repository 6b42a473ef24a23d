// The texture2dds command: exit codes, its message, and what it leaves on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/texture/TextureText.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;
using testing::readAll;

// Exit code and standard error of texture2dds with the given arguments.
std::pair<int, std::string> texture2dds(const fs::path& folder, const std::string& arguments) {
  std::string command = "\"" TEXTURE2DDS_PATH "\" " + arguments + " 2> \"" + (folder / "err").string() + "\"";
#ifdef _WIN32
  const int code = std::system(("\"" + command + "\"").c_str());  // cmd.exe drops the outer quotes
#else
  const int status = std::system(command.c_str());
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  std::string errors = readAll(folder / "err");
  fs::remove(folder / "err");
  return {code, errors};
}

TEST(Texture2Dds, ReplacesTheTargetOnlyWithAWholeGoodConversion) {
  const fs::path folder = fs::temp_directory_path() / "texture2dds-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string in = testing::quoted((folder / "in.xml").string());
  const std::string out = testing::quoted((folder / "out.dds").string());
  std::ofstream(folder / "out.dds", std::ios::binary) << std::string(5000, 'x');

  std::ofstream(folder / "in.xml", std::ios::binary) << testing::textureXml("4", "4", "16", "01 0203");
  EXPECT_EQ(texture2dds(folder, in + " " + out).first, 0);
  const std::string dds = readAll(folder / "out.dds");
  EXPECT_EQ(dds.size(), 144u);
  EXPECT_EQ(dds.substr(128, 4), std::string("\x01\x02\x03\x00", 4));

  for (const std::string& bad : {testing::textureXml("4", "40000", "1", ""), testing::textureXml("4", "4", "1", "0G")}) {
    std::ofstream(folder / "in.xml", std::ios::binary) << bad;
    const auto [code, errors] = texture2dds(folder, in + " " + out);
    EXPECT_EQ(code, 1);
    EXPECT_NE(errors.find("in.xml: the texture text "), std::string::npos) << errors;
    EXPECT_EQ(readAll(folder / "out.dds"), dds);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << "a file was left behind";
  const auto [code, usage] = texture2dds(folder, in);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(usage.rfind("usage: texture2dds IN.xml OUT.dds", 0), 0u) << usage;
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vantrel::texture
