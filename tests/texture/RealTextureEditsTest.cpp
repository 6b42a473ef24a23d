// The real textures through every new path: all levels out as one .dds and
// back in, through the codec and back; each level decoded as ImageMagick
// decodes it; a level out as PNG, painted on by ImageMagick and back in.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "converter/Codec.h"
#include "tests/texture/TextureText.h"
#include "texture/DdsFile.h"
#include "texture/LevelDecoder.h"
#include "texture/PngFile.h"
#include "texture/TextureExport.h"
#include "texture/TextureImport.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;

const fs::path kRealFiles = fs::path(VANTREL_SHARED_DIR) / "fixtures" / "real";

struct RealTexture {
  fs::path file;
  std::string binary;  // empty for a texture kept only as XML
  std::string xml;
};

// Every texture among the real files: the binaries of a texture extension
// and the texture XML files (those with a cHcImageDx element).
std::vector<fs::path> realTextureFiles() {
  std::vector<fs::path> files;
  if (!fs::is_directory(kRealFiles)) return files;
  for (const auto& entry : fs::directory_iterator(kRealFiles)) {
    const fs::path& path = entry.path();
    if (path.extension() == ".TgPcDx" ||
        (path.extension() == ".xml" &&
         testing::readAll(path).find("<cHcImageDx") != std::string::npos))
      files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  return files;
}

RealTexture load(const fs::path& file) {
  RealTexture texture{file, {}, testing::readAll(file)};
  if (file.extension() != ".xml") {
    texture.binary = std::move(texture.xml);
    auto xml = serz::binToXml(texture.binary);
    EXPECT_TRUE(xml.ok()) << file << ": " << xml.error().message();
    if (xml.ok()) texture.xml = std::move(xml.value());
  }
  return texture;
}

template <typename T>
T valueOf(TextureResult<T> result, const fs::path& file) {
  if (const auto* problem = std::get_if<TextureProblem>(&result))
    ADD_FAILURE() << file.filename() << ": " << problem->message;
  return std::holds_alternative<T>(result) ? std::move(std::get<T>(result)) : T{};
}

std::string withoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

bool haveImageMagick() {
#ifdef _WIN32
  return false;
#else
  return std::system("convert -version > /dev/null 2>&1") == 0;
#endif
}

class RealTextureEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    files_ = realTextureFiles();
    if (files_.empty()) GTEST_SKIP() << "no real textures in " << kRealFiles.string();
    // One folder per test: CTest runs the tests side by side.
    folder_ = fs::temp_directory_path() /
              ("real-texture-edits-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<fs::path> files_;
  fs::path folder_;
};

TEST_F(RealTextureEdits, AllLevelsGoOutAndBackInUnchanged) {
  for (const fs::path& file : files_) {
    SCOPED_TRACE(file.filename().string());
    const RealTexture texture = load(file);
    const auto dds = valueOf(exportAllLevelsDds(texture.xml), file);
    const TextureLevels levels = valueOf(readTextureLevels(texture.xml), file);
    const DdsTexture back = valueOf(readDds(dds), file);
    EXPECT_EQ(back.levels.size(), levels.levels.size());

    const ImportResult result = importDds(texture.xml, dds);
    ASSERT_TRUE(std::holds_alternative<ImportedTexture>(result));
    const std::string& text = std::get<ImportedTexture>(result).text;
    EXPECT_TRUE(text == texture.xml) << "the imported text differs";

    auto binary = serz::xmlToBin(text);
    ASSERT_TRUE(binary.ok()) << binary.error().message();
    auto again = serz::binToXml(binary.value());
    ASSERT_TRUE(again.ok()) << again.error().message();
    // A texture kept only as XML may come from another converter, with
    // other line ends; the binaries' XML is ours and comes back exactly.
    if (texture.binary.empty()) {
      EXPECT_EQ(withoutCarriageReturns(again.value()), withoutCarriageReturns(texture.xml));
    } else {
      EXPECT_TRUE(again.value() == texture.xml) << "the codec's round trip differs";
    }
    // Each level's data, byte for byte, as the original text (and binary) holds it.
    const TextureLevels backLevels = valueOf(readTextureLevels(again.value()), file);
    ASSERT_EQ(backLevels.levels.size(), levels.levels.size());
    for (std::size_t k = 0; k < levels.levels.size(); ++k) {
      const auto data = valueOf(levelData(again.value(), backLevels.levels[k]), file);
      EXPECT_EQ(data, valueOf(levelData(texture.xml, levels.levels[k]), file));
      EXPECT_EQ(data, back.levels[k].data);
      if (!texture.binary.empty()) {
        EXPECT_NE(texture.binary.find(std::string(data.begin(), data.end())), std::string::npos)
            << describeLevel(levels.levels[k], k) << " is not in the binary";
      }
    }
  }
}

// One texture's levels into another of another size and format: the levels
// are rebuilt, and the codec takes the new text and gives it back as it is.
TEST_F(RealTextureEdits, AnotherTexturesLevelsRebuildTheTexture) {
  std::vector<RealTexture> textures;
  for (const fs::path& file : files_) {
    if (file.extension() != ".xml") textures.push_back(load(file));
  }
  for (const RealTexture& into : textures) {
    for (const RealTexture& from : textures) {
      if (&into == &from) continue;
      SCOPED_TRACE(from.file.filename().string() + " into " + into.file.filename().string());
      const auto dds = valueOf(exportAllLevelsDds(from.xml), from.file);
      const ImportResult result = importDds(into.xml, dds, {.changeFormat = true});
      ASSERT_TRUE(std::holds_alternative<ImportedTexture>(result));
      const std::string& text = std::get<ImportedTexture>(result).text;
      const TextureLevels levels = valueOf(readTextureLevels(text), into.file);
      const DdsTexture expected = valueOf(readDds(dds), from.file);
      ASSERT_EQ(levels.levels.size(), expected.levels.size());
      for (std::size_t k = 0; k < levels.levels.size(); ++k) {
        EXPECT_EQ(levels.levels[k].width, expected.levels[k].width);
        EXPECT_EQ(valueOf(levelData(text, levels.levels[k]), into.file), expected.levels[k].data);
      }
      auto binary = serz::xmlToBin(text);
      ASSERT_TRUE(binary.ok()) << binary.error().message();
      auto again = serz::binToXml(binary.value());
      ASSERT_TRUE(again.ok()) << again.error().message();
      EXPECT_TRUE(again.value() == text) << "the codec changed the rebuilt text";
    }
  }
}

TEST_F(RealTextureEdits, EveryLevelDecodesAsImageMagickDecodesIt) {
  if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  for (const fs::path& file : files_) {
    const RealTexture texture = load(file);
    const TextureLevels levels = valueOf(readTextureLevels(texture.xml), file);
    // The all-levels file: ImageMagick reads it (and walks past every level).
    const auto all = valueOf(exportAllLevelsDds(texture.xml), file);
    std::ofstream(folder_ / "all.dds", std::ios::binary)
        .write(reinterpret_cast<const char*>(all.data()), std::streamsize(all.size()));
    const auto [identified, identifyErrors] =
        testing::run("identify",
                     testing::quoted((folder_ / "all.dds").string()) + " > " +
                         testing::quoted((folder_ / "identify.txt").string()),
                     folder_ / "err");
    EXPECT_EQ(identified, 0) << file.filename() << ": " << identifyErrors;
    EXPECT_EQ(identifyErrors, "");

    for (std::size_t k = 0; k < levels.levels.size(); ++k) {
      const TextureLevel& level = levels.levels[k];
      SCOPED_TRACE(file.filename().string() + ", " + describeLevel(level, k));
      const RgbaImage ours = valueOf(decodeLevel(texture.xml, level), file);
      DdsTexture one{*level.blockFormat, {}};
      one.levels.push_back(
          {level.width, level.height, valueOf(levelData(texture.xml, level), file)});
      const auto dds = writeDds(one);
      std::ofstream(folder_ / "level.dds", std::ios::binary)
          .write(reinterpret_cast<const char*>(dds.data()), std::streamsize(dds.size()));
      const auto [code, errors] =
          testing::run("convert",
                       testing::quoted((folder_ / "level.dds").string()) +
                           " -depth 8 rgba:" + testing::quoted((folder_ / "level.rgba").string()),
                       folder_ / "err");
      ASSERT_EQ(code, 0) << errors;
      const std::string theirs = testing::readAll(folder_ / "level.rgba");
      ASSERT_EQ(theirs.size(), ours.pixels.size());
      std::size_t differing = 0;
      for (std::size_t p = 0; p < theirs.size(); ++p)
        differing += static_cast<std::uint8_t>(theirs[p]) != ours.pixels[p];
      EXPECT_EQ(differing, 0u) << "of " << theirs.size() << " channel values";
    }
  }
}

// ImageMagick skips the smaller levels when it reads a .dds, so the header
// that announces them is compared with the one ImageMagick writes itself for
// the same picture, format and number of levels.
TEST_F(RealTextureEdits, AllLevelsHeaderIsTheOneImageMagickWrites) {
  if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  for (const fs::path& file : files_) {
    SCOPED_TRACE(file.filename().string());
    const RealTexture texture = load(file);
    const TextureLevels levels = valueOf(readTextureLevels(texture.xml), file);
    const auto ours = valueOf(exportAllLevelsDds(texture.xml), file);
    const auto png = valueOf(exportLevelPng(texture.xml, 0), file);
    std::ofstream(folder_ / "top.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    // ImageMagick writes DXT1 and DXT5 only: a DXT3 header is compared with
    // its DXT5 one, whose blocks take as many bytes, but for the FourCC.
    const BlockFormat format = *levels.levels[0].blockFormat;
    const std::string compression = format == BlockFormat::Dxt1 ? "dxt1" : "dxt5";
    const auto [code, errors] =
        testing::run("convert",
                     testing::quoted((folder_ / "top.png").string()) +
                         " -define dds:compression=" + compression +
                         " -define dds:mipmaps=" + std::to_string(levels.levels.size() - 1) + " " +
                         testing::quoted((folder_ / "theirs.dds").string()),
                     folder_ / "err");
    ASSERT_EQ(code, 0) << errors;
    std::string theirs = testing::readAll(folder_ / "theirs.dds");
    if (theirs.size() >= 88) theirs.replace(84, 4, fourCc(format));
    ASSERT_EQ(theirs.size(), ours.size()) << "the same levels take the same bytes";
    const std::string header(ours.begin(), ours.begin() + 128);
    // Flags, height, width, linear size, depth, mip count; the pixel format
    // and the caps.
    EXPECT_EQ(header.substr(0, 32), theirs.substr(0, 32));
    EXPECT_EQ(header.substr(76, 52), theirs.substr(76, 52));
  }
}

double psnr(const RgbaImage& a, const RgbaImage& b) {
  double sum = 0;
  for (std::size_t k = 0; k < a.pixels.size(); ++k) {
    const double d = double(a.pixels[k]) - double(b.pixels[k]);
    sum += d * d;
  }
  const double mse = sum / double(a.pixels.size());
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The red square ImageMagick's -draw "rectangle 10,10 60,60" paints, for
// where ImageMagick is missing (Windows).
std::vector<std::uint8_t> paintedHere(const std::vector<std::uint8_t>& png) {
  RgbaImage picture = std::get<RgbaImage>(decodePng(png));
  for (std::uint32_t y = 10; y <= 60 && y < picture.height; ++y) {
    for (std::uint32_t x = 10; x <= 60 && x < picture.width; ++x) {
      std::uint8_t* pixel = &picture.pixels[4 * (std::size_t{y} * picture.width + x)];
      pixel[0] = 255, pixel[1] = 0, pixel[2] = 0, pixel[3] = 255;
    }
  }
  return std::get<std::vector<std::uint8_t>>(encodePng(picture));
}

TEST_F(RealTextureEdits, APaintedPngComesBackClose) {
  const bool imageMagick = haveImageMagick();
  for (const fs::path& file : files_) {
    SCOPED_TRACE(file.filename().string());
    const RealTexture texture = load(file);
    const auto png = valueOf(exportLevelPng(texture.xml, 0), file);
    std::vector<std::uint8_t> painted;
    if (imageMagick) {
      std::ofstream(folder_ / "level.png", std::ios::binary)
          .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
      const auto [code, errors] =
          testing::run("convert",
                       testing::quoted((folder_ / "level.png").string()) +
                           " -fill red -draw \"rectangle 10,10 60,60\" " +
                           testing::quoted((folder_ / "painted.png").string()),
                       folder_ / "err");
      ASSERT_EQ(code, 0) << errors;
      painted = bytesOf(testing::readAll(folder_ / "painted.png"));
    } else {
      painted = paintedHere(png);
    }
    const RgbaImage expected = valueOf(decodePng(painted), file);

    const ImportResult result = importPng(texture.xml, painted);
    ASSERT_TRUE(std::holds_alternative<ImportedTexture>(result));
    const std::string& text = std::get<ImportedTexture>(result).text;
    const TextureLevels levels = valueOf(readTextureLevels(text), file);
    const TextureLevels before = valueOf(readTextureLevels(texture.xml), file);
    EXPECT_EQ(levels.levels.size(), before.levels.size());
    const RgbaImage decoded = valueOf(decodeLevel(text, levels.levels[0]), file);
    ASSERT_EQ(decoded.pixels.size(), expected.pixels.size());
    EXPECT_EQ(decoded.pixels[4 * (20 * decoded.width + 20)], 255) << "the red rectangle";
    const double db = psnr(decoded, expected);
    std::cout << file.filename().string() << ": PSNR " << db << " dB ("
              << describeLevel(levels.levels[0], 0) << ")\n";
    EXPECT_GE(db, 30.0);
    EXPECT_TRUE(serz::xmlToBin(text).ok());
  }
}

}  // namespace
}  // namespace vantrel::texture
