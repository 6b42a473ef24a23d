// Putting .dds and .png files into a texture text: in place, rebuilt, with a
// format question, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tests/texture/TextureLevelsText.h"
#include "texture/DdsFile.h"
#include "texture/LevelDecoder.h"
#include "texture/TextureExport.h"
#include "texture/TextureImport.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {
namespace {

using testing::DdsFields;
using testing::LevelShape;

const std::string kDxt1 = std::string(kDxt1FormatName);
const std::string kDxt5 = std::string(kDxt5FormatName);

std::vector<std::uint8_t> ddsOf(BlockFormat format, const std::vector<LevelShape>& shapes,
                                int seed) {
  DdsTexture texture{format, {}};
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    texture.levels.push_back(
        {shapes[k].width, shapes[k].height, testing::levelBytes(format, shapes[k], seed + int(k))});
  }
  return writeDds(texture);
}

ImportedTexture imported(ImportResult result) {
  if (const auto* problem = std::get_if<TextureProblem>(&result))
    ADD_FAILURE() << "refused: " << problem->message;
  if (std::holds_alternative<FormatChangeNeeded>(result)) ADD_FAILURE() << "asks about the format";
  return std::holds_alternative<ImportedTexture>(result)
             ? std::move(std::get<ImportedTexture>(result))
             : ImportedTexture{};
}

std::string refusal(const ImportResult& result) {
  const auto* problem = std::get_if<TextureProblem>(&result);
  return problem ? problem->message : "(not refused)";
}

std::set<std::string> ids(const std::string& text) {
  std::set<std::string> found;
  for (std::size_t at = text.find("d:id=\""); at != std::string::npos;
       at = text.find("d:id=\"", at + 1)) {
    const std::size_t start = at + 6;
    EXPECT_TRUE(found.insert(text.substr(start, text.find('"', start) - start)).second)
        << "d:id given twice";
  }
  return found;
}

TEST(ImportDds, OfTheSameShapeReplacesOnlyTheData) {
  const std::vector<LevelShape> shapes{{8, 8}, {4, 4}};
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, shapes, 0);
  const ImportedTexture result = imported(importDds(text, ddsOf(BlockFormat::Dxt1, shapes, 50)));
  EXPECT_EQ(result.text, testing::levelsXml(kDxt1, BlockFormat::Dxt1, shapes, 50));
  EXPECT_EQ(result.summary,
            "Replaced the image data of 2 levels from 8 \xC3\x97 8 down to 4 \xC3\x97 4, DXT1.");
}

TEST(ImportDds, OfAnotherShapeRebuildsTheLevelsWithNewIds) {
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}, {4, 4}}, 0);
  for (const std::vector<LevelShape>& shapes :
       {std::vector<LevelShape>{{16, 32}},
        std::vector<LevelShape>{{8, 8}, {4, 4}, {2, 2}, {1, 1}}}) {
    const ImportedTexture result = imported(importDds(text, ddsOf(BlockFormat::Dxt1, shapes, 9)));
    const auto read = readTextureLevels(result.text);
    ASSERT_TRUE(std::holds_alternative<TextureLevels>(read)) << result.text;
    const TextureLevels& levels = std::get<TextureLevels>(read);
    ASSERT_EQ(levels.levels.size(), shapes.size());
    for (std::size_t k = 0; k < shapes.size(); ++k) {
      EXPECT_EQ(levels.levels[k].width, shapes[k].width);
      EXPECT_EQ(levels.levels[k].height, shapes[k].height);
      const auto data = levelData(result.text, levels.levels[k]);
      EXPECT_EQ(std::get<std::vector<std::uint8_t>>(data),
                testing::levelBytes(BlockFormat::Dxt1, shapes[k], 9 + int(k)));
    }
    EXPECT_EQ(
        result.text.substr(levels.textureWidthValue->offset, levels.textureWidthValue->length),
        std::to_string(shapes[0].width));
    // New ids, none of the old levels' (100, 101) nor any other element's.
    const std::set<std::string> all = ids(result.text);
    EXPECT_EQ(all.size(), 3 + shapes.size());
    EXPECT_FALSE(all.count("100") || all.count("101"));
    EXPECT_TRUE(all.count("102"));
    // Everything outside the Mip element and the texture's size stays.
    EXPECT_EQ(result.text.substr(result.text.find("</Mip>")), text.substr(text.find("</Mip>")));
    EXPECT_NE(result.summary.find("Rebuilt the texture as"), std::string::npos) << result.summary;
  }
}

TEST(ImportDds, AsksBeforeChangingTheFormat) {
  const std::vector<LevelShape> shapes{{8, 8}, {4, 4}};
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, shapes, 0);
  const auto dds = ddsOf(BlockFormat::Dxt5, shapes, 1);
  const ImportResult asked = importDds(text, dds);
  const auto* question = std::get_if<FormatChangeNeeded>(&asked);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(question->textureFormatName, kDxt1);
  EXPECT_EQ(question->fileFormatName, kDxt5);
  EXPECT_NE(question->question.find("DXT5"), std::string::npos);

  const ImportedTexture changed = imported(importDds(text, dds, {.changeFormat = true}));
  EXPECT_EQ(changed.text, testing::levelsXml(kDxt5, BlockFormat::Dxt5, shapes, 1));
  EXPECT_NE(changed.summary.find("Its format is now " + kDxt5), std::string::npos);
}

TEST(ImportDds, RefusesFilesItCannotTakeWithTheReason) {
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}});
  const std::vector<std::uint8_t> data(32, 0);
  auto wrongSize = testing::ddsFile({}, data);
  wrongSize[4] = 100;
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {{'P', 'K', 3, 4}, "it is not a DDS file"},
      {{'D', 'D', 'S', ' ', 124, 0}, "it ends inside its header"},
      {wrongSize, "its header size is not 124 bytes"},
      {testing::ddsFile({.width = 6, .height = 8}, data),
       "not a whole number of 4 \xC3\x97 4 blocks"},
      {testing::ddsFile({.fourCc = "", .pixelFlags = 0x40}, data), "uncompressed pixels"},
      {testing::ddsFile({.caps2 = 0x200 | 0xFC00}, data), "it is a cube map"},
      {testing::ddsFile({.caps2 = 0x200000}, data), "it is a volume texture"},
      {testing::ddsFile({.flags = 0x00881007, .depth = 4}, data), "it is a volume texture"},
      {testing::ddsFile({.fourCc = "DX10"}, data), "DX10 extended header"},
      {testing::ddsFile({.fourCc = "ATI2"}, data), "its data is \"ATI2\""},
      {testing::ddsFile({}, std::vector<std::uint8_t>(31, 0)), "it ends inside mip level 1 of 1"},
      {testing::ddsFile({.mipCount = 3}, data), "it ends inside mip level 2 of 3"},
      {testing::ddsFile({.mipCount = 5}, data), "it declares 5 mip levels"},
  };
  for (const auto& [file, expected] : cases) {
    const std::string message = refusal(importDds(text, file));
    EXPECT_EQ(message.rfind("The DDS file cannot be imported: ", 0), 0u) << message;
    EXPECT_NE(message.find(expected), std::string::npos) << message;
  }
  EXPECT_NE(refusal(importDds("<Mip/>", testing::ddsFile({}, data))).find("not a texture"),
            std::string::npos);
}

// A smooth picture with some detail, like a photograph's.
RgbaImage naturalPicture(std::uint32_t width, std::uint32_t height) {
  RgbaImage picture{width, height, {}};
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      picture.pixels.push_back(static_cast<std::uint8_t>(128 + 100 * std::sin(x * 0.2)));
      picture.pixels.push_back(static_cast<std::uint8_t>(x * 255 / width));
      picture.pixels.push_back(static_cast<std::uint8_t>(y * 255 / height));
      picture.pixels.push_back(255);
    }
  }
  return picture;
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

std::vector<std::uint8_t> pngOf(const RgbaImage& picture) {
  return std::get<std::vector<std::uint8_t>>(encodePng(picture));
}

TEST(ImportPng, CompressesIntoTheTexturesFormatWithItsMipChain) {
  const std::string text =
      testing::levelsXml(kDxt5, BlockFormat::Dxt5, {{32, 16}, {16, 8}, {8, 4}});
  const RgbaImage picture = naturalPicture(32, 16);
  const ImportedTexture same = imported(importPng(text, pngOf(picture)));
  const TextureLevels levels = std::get<TextureLevels>(readTextureLevels(same.text));
  ASSERT_EQ(levels.levels.size(), 3u) << "the same size keeps the texture's levels";
  EXPECT_EQ(levels.levels[2].width, 8u);
  const RgbaImage decoded = std::get<RgbaImage>(decodeLevel(same.text, levels.levels[0]));
  EXPECT_GE(psnr(picture, decoded), 30.0);

  const ImportedTexture other = imported(importPng(text, pngOf(naturalPicture(64, 8))));
  const TextureLevels rebuilt = std::get<TextureLevels>(readTextureLevels(other.text));
  ASSERT_EQ(rebuilt.levels.size(), 7u) << "64 x 8 down to 1 x 1";
  EXPECT_EQ(rebuilt.levels[3].width, 8u);
  EXPECT_EQ(rebuilt.levels[3].height, 1u);
  EXPECT_EQ(rebuilt.levels[6].width, 1u);
  EXPECT_EQ(rebuilt.levels[6].formatName, kDxt5);
}

TEST(ImportPng, RefusesOtherSizesAndFiles) {
  const std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}});
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {pngOf(naturalPicture(12, 8)), "12 \xC3\x97 8 pixels, and its width must be a power of two"},
      {pngOf(naturalPicture(8, 24)), "its height must be a power of two"},
      {pngOf(naturalPicture(8, 2)), "its height must be at least 4"},
      {{'B', 'M', 0, 0, 0, 0, 0, 0, 0}, "not a PNG file"},
  };
  for (const auto& [file, expected] : cases) {
    const std::string message = refusal(importPng(text, file));
    EXPECT_NE(message.find(expected), std::string::npos) << message;
  }
  const std::vector<std::uint8_t> raw(192, 0);
  const std::string col888 =
      testing::textureAround({8, 8}, testing::levelXml("HC_IMAGE_FORMAT_COL888", {8, 8}, 5, raw));
  EXPECT_NE(refusal(importPng(col888, pngOf(naturalPicture(8, 8)))).find("only into a DXT1"),
            std::string::npos);
}

}  // namespace
}  // namespace vantrel::texture
