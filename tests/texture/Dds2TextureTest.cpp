// The command-line tools of the texture levels: texture2dds --all-levels and
// dds2texture, their messages, exit codes and what they leave on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/texture/TextureLevelsText.h"
#include "tests/texture/TextureText.h"
#include "texture/DdsFile.h"
#include "texture/TextureExport.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;
using testing::readAll;

const std::string kDxt1 = std::string(kDxt1FormatName);
const std::string kDxt5 = std::string(kDxt5FormatName);

class TextureTools : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: CTest runs the tests side by side.
    folder_ = fs::temp_directory_path() /
              ("texture-tools-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(folder_))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }

  std::string at(const std::string& name) const {
    return testing::quoted((folder_ / name).string());
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    write(name, std::string(bytes.begin(), bytes.end()));
  }
  std::size_t files() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  std::pair<int, std::string> run(const char* program, const std::string& arguments) const {
    auto result = testing::run(program, arguments, folder_.string() + "-err");
    std::erase(result.second, '\r');  // Windows writes the line end in text mode
    return result;
  }

  fs::path folder_;
};

DdsTexture ddsOf(BlockFormat format, const std::vector<testing::LevelShape>& shapes, int seed) {
  DdsTexture texture{format, {}};
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    texture.levels.push_back(
        {shapes[k].width, shapes[k].height, testing::levelBytes(format, shapes[k], seed + int(k))});
  }
  return texture;
}

TEST_F(TextureTools, AllLevelsWritesEveryLevelOrNothing) {
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{16, 8}, {8, 4}, {4, 2}});
  write("in.xml", text);
  EXPECT_EQ(run(TEXTURE2DDS_PATH, "--all-levels " + at("in.xml") + " " + at("out.dds")).first, 0);
  const std::string dds = readAll(folder_ / "out.dds");
  const auto expected = std::get<std::vector<std::uint8_t>>(exportAllLevelsDds(text));
  EXPECT_TRUE(dds == std::string(expected.begin(), expected.end()));
  EXPECT_EQ(dds[28], 3);

  // Levels that make no mip chain: refused in one line, OUT left as it was.
  std::string broken = text;
  broken.replace(broken.find("sUInt16\">4</Width>"), 18, "sUInt16\">2</Width>");
  write("broken.xml", broken);
  const auto [code, errors] =
      run(TEXTURE2DDS_PATH, "--all-levels " + at("broken.xml") + " " + at("out.dds"));
  EXPECT_EQ(code, 1);
  EXPECT_NE(errors.find("texture2dds: "), std::string::npos);
  EXPECT_NE(
      errors.find(
          "The levels cannot be exported: level 3 is 2 \xC3\x97 2; after a 8 \xC3\x97 4 level"),
      std::string::npos)
      << errors;
  EXPECT_NE(errors.find("out.dds was not written."), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
  EXPECT_TRUE(readAll(folder_ / "out.dds") == dds);
  EXPECT_EQ(files(), 3u) << "a file was left behind";

  const auto [usageCode, usage] = run(TEXTURE2DDS_PATH, "--all-levels " + at("in.xml"));
  EXPECT_EQ(usageCode, 2);
  EXPECT_NE(usage.find("texture2dds --all-levels IN.xml OUT.dds"), std::string::npos);
}

TEST_F(TextureTools, Dds2TextureReplacesTheTextInPlace) {
  const std::vector<testing::LevelShape> shapes{{8, 8}, {4, 4}};
  write("texture.xml", testing::levelsXml(kDxt1, BlockFormat::Dxt1, shapes, 0));
  write("new.dds", writeDds(ddsOf(BlockFormat::Dxt1, shapes, 40)));
  const auto [code, errors] = run(DDS2TEXTURE_PATH, at("new.dds") + " " + at("texture.xml"));
  EXPECT_EQ(code, 0) << errors;
  EXPECT_EQ(readAll(folder_ / "texture.xml"),
            testing::levelsXml(kDxt1, BlockFormat::Dxt1, shapes, 40));
  EXPECT_EQ(files(), 2u) << "a temporary file was left behind";

  // Another format: refused until --change-format is given.
  write("dxt5.dds", writeDds(ddsOf(BlockFormat::Dxt5, shapes, 7)));
  const std::string before = readAll(folder_ / "texture.xml");
  const auto [asked, question] = run(DDS2TEXTURE_PATH, at("dxt5.dds") + " " + at("texture.xml"));
  EXPECT_EQ(asked, 1);
  EXPECT_NE(question.find("give --change-format to change it"), std::string::npos) << question;
  EXPECT_EQ(readAll(folder_ / "texture.xml"), before);
  EXPECT_EQ(
      run(DDS2TEXTURE_PATH, "--change-format " + at("dxt5.dds") + " " + at("texture.xml")).first,
      0);
  EXPECT_EQ(readAll(folder_ / "texture.xml"),
            testing::levelsXml(kDxt5, BlockFormat::Dxt5, shapes, 7));
}

TEST_F(TextureTools, Dds2TextureLeavesTheTextAsItWasOnAnyFailure) {
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}});
  write("texture.xml", text);
  const std::vector<std::uint8_t> data(32, 0);
  write("cube.dds", testing::ddsFile({.caps2 = 0x200}, data));
  write("short.dds", testing::ddsFile({}, std::vector<std::uint8_t>(20, 0)));
  write("plain.dds", testing::ddsFile({.fourCc = "", .pixelFlags = 0x41}, data));
  write("notdds.dds", std::string("PK\x03\x04 not a dds"));
  for (const auto& [file, reason] : std::vector<std::pair<std::string, std::string>>{
           {"cube.dds", "it is a cube map"},
           {"short.dds", "it ends inside mip level 1 of 1"},
           {"plain.dds", "it holds uncompressed pixels"},
           {"notdds.dds", "it is not a DDS file"},
           {"missing.dds", "cannot be read"}}) {
    const auto [code, errors] = run(DDS2TEXTURE_PATH, at(file) + " " + at("texture.xml"));
    EXPECT_EQ(code, 1) << file;
    EXPECT_NE(errors.find(reason), std::string::npos) << errors;
    EXPECT_EQ(errors.rfind("dds2texture: ", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(readAll(folder_ / "texture.xml"), text) << file;
  }

  // A read-only text is not replaced; nothing is left beside it.
  write("good.dds", writeDds(ddsOf(BlockFormat::Dxt1, {{8, 8}}, 3)));
  fs::permissions(folder_ / "texture.xml",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const auto [readOnly, why] = run(DDS2TEXTURE_PATH, at("good.dds") + " " + at("texture.xml"));
  EXPECT_EQ(readOnly, 1);
  EXPECT_NE(why.find("is read-only, so it was not changed"), std::string::npos) << why;
  EXPECT_EQ(readAll(folder_ / "texture.xml"), text);
  EXPECT_EQ(files(), 6u) << "a temporary file was left behind";

  const auto [usageCode, usage] = run(DDS2TEXTURE_PATH, at("good.dds"));
  EXPECT_EQ(usageCode, 2);
  EXPECT_EQ(usage, "usage: dds2texture [--change-format] IN.dds TEXTURE.xml\n");
}

}  // namespace
}  // namespace vantrel::texture
