// The texture2dds command: exit codes, messages, and what it leaves on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/texture/TextureText.h"
#include "texture/ReplaceFile.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class Texture2Dds : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("texture2dds-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the tool; its standard error lands in errorText.
  int run(const std::string& arguments) {
    const fs::path errors = folder_ / "stderr.txt";
    std::string command = "\"" TEXTURE2DDS_PATH "\" " + arguments + " 2> \"" + errors.string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd.exe drops the outermost pair of quotes
#endif
    const int status = std::system(command.c_str());
    errorText = readAll(errors);
    fs::remove(errors);
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  }

  std::string quoted(const std::string& name) const { return "\"" + (folder_ / name).string() + "\""; }
  fs::path at(const std::string& name) const { return folder_ / name; }

  fs::path folder_;
  std::string errorText;
};

TEST_F(Texture2Dds, WritesTheDdsAndReplacesALongerTarget) {
  writeAll(at("in.xml"), testing::textureXml("4", "4", "16", testing::blobHex({1, 2, 3})));
  writeAll(at("out.dds"), std::string(5000, 'x'));
  ASSERT_EQ(run(quoted("in.xml") + " " + quoted("out.dds")), 0) << errorText;
  const std::string dds = readAll(at("out.dds"));
  ASSERT_EQ(dds.size(), 144u);
  EXPECT_EQ(dds.substr(0, 4), "DDS ");
  EXPECT_EQ(dds.substr(128, 4), std::string("\x01\x02\x03\x00", 4));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2) << "a temporary file was left";
}

TEST_F(Texture2Dds, LeavesTheTargetByteIdenticalForEveryBadTexture) {
  const std::string previous = "previous content\r\n";
  writeAll(at("out.dds"), previous);
  const std::string bad[] = {
      "<Height>4</Height><d:blob d:size=\"1\">00</d:blob>",
      testing::textureXml("40000", "4", "1", "00"),
      testing::textureXml("4", "4", "-1", "00"),
      testing::textureXml("4", "4", "1", "0G"),
      testing::textureXml("4", "4", "1", "00\t"),
      testing::textureXml("4", "4", "1", "00 11"),
      "<Width>4</Width><Height>4</Height><d:blob d:size=\"1\">00",
  };
  for (const std::string& text : bad) {
    writeAll(at("in.xml"), text);
    EXPECT_EQ(run(quoted("in.xml") + " " + quoted("out.dds")), 1) << text;
    EXPECT_EQ(readAll(at("out.dds")), previous) << text;
    EXPECT_NE(errorText.find("in.xml: the texture text "), std::string::npos) << errorText;
    EXPECT_EQ(std::count(errorText.begin(), errorText.end(), '\n'), 1) << errorText;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(Texture2Dds, ExplainsUnreadableInputUnwritableOutputAndWrongArguments) {
  EXPECT_EQ(run(quoted("missing.xml") + " " + quoted("out.dds")), 1);
  EXPECT_NE(errorText.find("missing.xml: cannot be opened"), std::string::npos) << errorText;
  EXPECT_FALSE(fs::exists(at("out.dds")));

  writeAll(at("in.xml"), testing::textureXml("4", "4", "16", ""));
  EXPECT_EQ(run(quoted("in.xml") + " " + quoted("no-such-folder/out.dds")), 1);
  EXPECT_NE(errorText.find("out.dds: could not be written"), std::string::npos) << errorText;

  EXPECT_EQ(run(quoted("in.xml")), 2);
  EXPECT_NE(errorText.find("usage: texture2dds IN.xml OUT.dds"), std::string::npos) << errorText;
}

TEST(ReplaceFile, RefusesToReplaceAFolderAndLeavesNoTemporaryFile) {
  const fs::path folder = fs::temp_directory_path() / "replace-file-test";
  fs::remove_all(folder);
  fs::create_directories(folder / "target");
  const std::vector<std::uint8_t> bytes{1, 2, 3};
  EXPECT_TRUE(replaceFile((folder / "target").string(), bytes).has_value());
  EXPECT_TRUE(fs::is_directory(folder / "target"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  EXPECT_FALSE(replaceFile((folder / "new.dds").string(), bytes).has_value());
  EXPECT_EQ(fs::file_size(folder / "new.dds"), 3u);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vantrel::texture
