// The texture2dds command: exit codes, its message, and what it leaves on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/texture/TextureText.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;
using testing::readAll;

// Exit code and standard error of texture2dds with the given arguments.
std::pair<int, std::string> texture2dds(const fs::path& folder, const std::string& arguments) {
  return testing::run(TEXTURE2DDS_PATH, arguments, folder / "err");
}

TEST(Texture2Dds, ReplacesTheTargetOnlyWithAWholeGoodConversion) {
  const fs::path folder = fs::temp_directory_path() / "texture2dds-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string in = testing::quoted((folder / "in.xml").string());
  const std::string out = testing::quoted((folder / "out.dds").string());
  std::ofstream(folder / "out.dds", std::ios::binary) << std::string(5000, 'x');

  std::ofstream(folder / "in.xml", std::ios::binary)
      << testing::textureXml("4", "4", "16", "01 0203");
  EXPECT_EQ(texture2dds(folder, in + " " + out).first, 0);
  const std::string dds = readAll(folder / "out.dds");
  EXPECT_EQ(dds.size(), 144u);
  EXPECT_EQ(dds.substr(128, 4), std::string("\x01\x02\x03\x00", 4));

  for (const std::string& bad :
       {testing::textureXml("4", "40000", "1", ""), testing::textureXml("4", "4", "1", "0G"),
        testing::serzTextureXml("HC_IMAGE_FORMAT_8888", 4, 4, "64", std::string(128, '0'))}) {
    std::ofstream(folder / "in.xml", std::ios::binary) << bad;
    const auto [code, errors] = texture2dds(folder, in + " " + out);
    EXPECT_EQ(code, 1);
    EXPECT_NE(errors.find("in.xml: the texture text "), std::string::npos) << errors;
    EXPECT_EQ(readAll(folder / "out.dds"), dds);
  }
  // An odd number of digits and a width that is no number are named on one
  // line, the width text with its line break shown as \x0A.
  const std::pair<std::string, std::string> named[] = {
      {testing::textureXml("4", "4", "16", "010"),
       "the texture text has an odd number of hexadecimal digits in the d:blob data: the last "
       "one, at line 9, column 3, is half a byte"},
      {testing::textureXml("four\n", "4", "16", ""),
       "the texture text gives the width as \"four\\x0A\", which is not a number"},
  };
  for (const auto& [text, message] : named) {
    std::ofstream(folder / "in.xml", std::ios::binary) << text;
    auto [code, errors] = texture2dds(folder, in + " " + out);
    std::erase(errors, '\r');  // Windows writes the line end in text mode
    EXPECT_EQ(code, 1);
    EXPECT_EQ(errors, "texture2dds: " + (folder / "in.xml").string() + ": " + message + "; " +
                          (folder / "out.dds").string() + " was not written\n");
    EXPECT_EQ(readAll(folder / "out.dds"), dds);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
      << "a file was left behind";
  const auto [code, usage] = texture2dds(folder, in);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(usage.rfind("usage: texture2dds IN.xml OUT.dds", 0), 0u) << usage;
  fs::remove_all(folder);
}

// A 50 GB file (sparse, so it takes no disk space) is refused by its size
// before anything is read or allocated: one line, exit status 1.
TEST(Texture2Dds, RefusesAFileLongerThanAnyTextureTextUnread) {
  const fs::path folder = fs::temp_directory_path() / "texture2dds-large-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "huge.xml", std::ios::binary) << testing::textureXml("4", "4", "16", "");
  std::error_code refused;
  fs::resize_file(folder / "huge.xml", std::uintmax_t{50} << 30, refused);
  if (refused) {
    fs::remove_all(folder);
    GTEST_SKIP() << "the file system refuses a 50 GB sparse file: " << refused.message();
  }
  const auto [code, errors] =
      texture2dds(folder, testing::quoted((folder / "huge.xml").string()) + " " +
                              testing::quoted((folder / "out.dds").string()));
  EXPECT_EQ(code, 1);
  EXPECT_NE(errors.find("huge.xml: is 53687091200 bytes long, longer than any texture text"),
            std::string::npos)
      << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  EXPECT_FALSE(fs::exists(folder / "out.dds"));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vantrel::texture
