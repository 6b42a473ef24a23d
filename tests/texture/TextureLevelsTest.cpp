// Reading the levels of a texture text, decoding them, and exporting them as
// DDS and PNG files.
#include <gtest/gtest.h>

#include "tests/texture/TextureLevelsText.h"
#include "texture/DdsFile.h"
#include "texture/LevelDecoder.h"
#include "texture/MipChain.h"
#include "texture/PngFile.h"
#include "texture/TextureExport.h"
#include "texture/TextureLevels.h"

namespace vantrel::texture {
namespace {

using testing::LevelShape;

const std::string kDxt5 = std::string(kDxt5FormatName);
const std::string kDxt1 = std::string(kDxt1FormatName);

template <typename T>
T valueOf(TextureResult<T> result) {
  if (const auto* problem = std::get_if<TextureProblem>(&result))
    ADD_FAILURE() << "refused: " << problem->message;
  return std::holds_alternative<T>(result) ? std::move(std::get<T>(result)) : T{};
}

template <typename T>
std::string problemOf(const TextureResult<T>& result) {
  const auto* problem = std::get_if<TextureProblem>(&result);
  return problem ? problem->message : "(not refused)";
}

std::string_view slice(const std::string& text, TextSpan span) {
  return std::string_view(text).substr(span.offset, span.length);
}

TEST(TextureLevels, GiveEachLevelWithWhereItsValuesLie) {
  const std::vector<LevelShape> shapes{{16, 8}, {8, 4}, {4, 2}};
  const std::string text = testing::levelsXml(kDxt5, BlockFormat::Dxt5, shapes, 3);
  const TextureLevels read = valueOf(readTextureLevels(text));
  ASSERT_EQ(read.levels.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    const TextureLevel& level = read.levels[k];
    const auto bytes = testing::levelBytes(BlockFormat::Dxt5, shapes[k], 3 + static_cast<int>(k));
    EXPECT_EQ(level.blockFormat, BlockFormat::Dxt5);
    EXPECT_EQ(level.formatName, kDxt5);
    EXPECT_EQ(level.width, shapes[k].width);
    EXPECT_EQ(level.height, shapes[k].height);
    EXPECT_EQ(level.dataSize, bytes.size());
    EXPECT_EQ(slice(text, level.data), testing::serzHex(bytes));
    EXPECT_EQ(slice(text, level.sizeValue), std::to_string(bytes.size()));
    EXPECT_EQ(slice(text, level.formatValue), kDxt5);
    ASSERT_TRUE(level.idValue);
    EXPECT_EQ(slice(text, *level.idValue), std::to_string(100 + k));
    EXPECT_TRUE(slice(text, level.element).starts_with("<cHcImageDx d:id="));
    EXPECT_TRUE(slice(text, level.element).ends_with("</cHcImageDx>"));
    EXPECT_EQ(valueOf(levelData(text, level)), bytes);
  }
  ASSERT_TRUE(read.textureWidthValue && read.textureHeightValue);
  EXPECT_EQ(slice(text, *read.textureWidthValue), "16");
  EXPECT_EQ(slice(text, *read.textureHeightValue), "8");
  EXPECT_TRUE(slice(text, read.mipContent).starts_with("\r\n\t\t\t\t\t\t<cHcImageDx"));
  EXPECT_EQ(describeLevel(read.levels[1], 1), "Level 2: 8 \xC3\x97 4, DXT5");
}

TEST(TextureLevels, KeepTheTextsOrderAndExportTheLargestFirst) {
  std::string levels;
  const std::vector<LevelShape> shapes{{4, 4}, {16, 16}, {8, 8}};
  for (std::size_t k = 0; k < shapes.size(); ++k)
    levels += testing::levelXml(kDxt1, shapes[k], static_cast<int>(10 + k),
                                testing::levelBytes(BlockFormat::Dxt1, shapes[k], int(k)));
  const std::string text = testing::textureAround({16, 16}, levels);
  const TextureLevels read = valueOf(readTextureLevels(text));
  ASSERT_EQ(read.levels.size(), 3u);
  EXPECT_EQ(read.levels[0].width, 4u);

  const auto dds = valueOf(exportAllLevelsDds(text));
  const DdsTexture back = valueOf(readDds(dds));
  ASSERT_EQ(back.levels.size(), 3u);
  EXPECT_EQ(back.levels[0].width, 16u);
  EXPECT_EQ(back.levels[0].data, testing::levelBytes(BlockFormat::Dxt1, {16, 16}, 1));
  EXPECT_EQ(back.levels[2].data, testing::levelBytes(BlockFormat::Dxt1, {4, 4}, 0));
  EXPECT_EQ(dds[28], 3);            // mip count
  EXPECT_EQ(dds[10] & 0x02, 0x02);  // DDSD_MIPMAPCOUNT
  EXPECT_EQ(dds[108], 0x08);        // DDSCAPS_COMPLEX
  EXPECT_EQ(dds[109], 0x10);        // DDSCAPS_TEXTURE
  EXPECT_EQ(dds[110], 0x40);        // DDSCAPS_MIPMAP
}

TEST(TextureLevels, RefuseMalformedTextsWithTheReason) {
  const std::string good = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}, {4, 4}});
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"<cRecordSet><Width>4</Width></cRecordSet>", "has no cHcImageDx element"},
      {replaced("</Mip>", "</Mip><Mip></Mip>"), "more than one Mip element"},
      {replaced("<Mip>", "<Other>"), "not inside a Mip element"},
      {replaced("<Height d:type=\"sUInt16\">8</Height>", ""),
       "level 1 (the cHcImageDx at line 11) has no Height element"},
      {replaced("sUInt16\">8</Width>", "sUInt16\">0</Width>"),
       "the width \"0\", not a whole number from 1 to 32767"},
      {replaced("sUInt16\">8</Width>", "sUInt16\">eight</Width>"), "the width \"eight\""},
      {replaced("sUInt16\">8</Height>", "sUInt16\">40000</Height>"), "the height \"40000\""},
      {replaced("d:size=\"32\"", "d:size=\"31\""),
       "holds 31 bytes (its d:size); a 8 \xC3\x97 8 DXT1 level takes 32"},
      {replaced(" d:size=\"32\"", ""), "has a d:blob without d:size"},
      {replaced("</d:blob>\r\n\t\t\t\t\t\t</cHcImageDx>", "</d:blob>"),
       "is not closed before the next cHcImageDx"},
      {replaced("<Format d:type=\"cDeltaString\">" + kDxt1 + "</Format>", "<Format/>"),
       "has an empty Format"},
  };
  for (const auto& [text, expected] : cases) {
    const std::string message = problemOf(readTextureLevels(text));
    EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
  }
}

TEST(TextureLevels, RefuseBlobDataThatIsNotItsBytes) {
  std::string text = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{4, 4}});
  const TextureLevels read = valueOf(readTextureLevels(text));
  std::string bad = text;
  bad[read.levels[0].data.offset + 3] = 'x';
  EXPECT_NE(problemOf(levelData(bad, read.levels[0])).find("not a hexadecimal digit"),
            std::string::npos);
  TextureLevel longer = read.levels[0];
  longer.dataSize = 9;
  EXPECT_NE(problemOf(levelData(text, longer)).find("holds 8 bytes; its d:size says 9"),
            std::string::npos);
}

TEST(LevelDecoder, DecodesDxtBlocksAndRefusesUnknownLayouts) {
  // DXT1: colour 0 pure red, colour 1 pure blue, every pixel index 0 or 1.
  const std::vector<std::uint8_t> block{0x00, 0xF8, 0x1F, 0x00, 0x55, 0x55, 0x55, 0x55};
  const std::string text = testing::textureAround(
      {4, 4}, testing::levelXml(kDxt1, {4, 4}, 7, std::span<const std::uint8_t>(block)));
  const TextureLevels read = valueOf(readTextureLevels(text));
  const RgbaImage picture = valueOf(decodeLevel(text, read.levels[0]));
  ASSERT_EQ(picture.pixels.size(), 64u);
  for (std::size_t p = 0; p < 16; ++p) {
    EXPECT_EQ(picture.pixels[4 * p + 0], 0);
    EXPECT_EQ(picture.pixels[4 * p + 2], 255);
    EXPECT_EQ(picture.pixels[4 * p + 3], 255);
  }

  for (const std::string name : {"HC_IMAGE_FORMAT_COL888", "HC_IMAGE_FORMAT_COLA8888"}) {
    const std::vector<std::uint8_t> pixels(48, 0x80);
    const std::string raw = testing::textureAround(
        {4, 4}, testing::levelXml(name, {4, 4}, 7, std::span<const std::uint8_t>(pixels)));
    const TextureLevels levels = valueOf(readTextureLevels(raw));
    ASSERT_EQ(levels.levels.size(), 1u);
    EXPECT_EQ(problemOf(decodeLevel(raw, levels.levels[0]))
                  .rfind(name + " textures cannot be shown yet: ", 0),
              0u);
    EXPECT_NE(problemOf(exportAllLevelsDds(raw)).find("only DXT1, DXT3 and DXT5"),
              std::string::npos);
  }
}

TEST(TextureExport, RefusesLevelsThatMakeNoMipChain) {
  std::string levels =
      testing::levelXml(kDxt1, {16, 16}, 10, testing::levelBytes(BlockFormat::Dxt1, {16, 16}, 0));
  levels += testing::levelXml(kDxt1, {4, 4}, 11, testing::levelBytes(BlockFormat::Dxt1, {4, 4}, 0));
  EXPECT_NE(problemOf(exportAllLevelsDds(testing::textureAround({16, 16}, levels)))
                .find("a mip chain needs 8 \xC3\x97 8"),
            std::string::npos);

  std::string mixed =
      testing::levelXml(kDxt1, {8, 8}, 10, testing::levelBytes(BlockFormat::Dxt1, {8, 8}, 0));
  mixed += testing::levelXml(kDxt5, {4, 4}, 11, testing::levelBytes(BlockFormat::Dxt5, {4, 4}, 0));
  EXPECT_NE(problemOf(exportAllLevelsDds(testing::textureAround({8, 8}, mixed)))
                .find("a DDS file holds one format"),
            std::string::npos);

  const std::string one = testing::levelsXml(kDxt1, BlockFormat::Dxt1, {{8, 8}});
  EXPECT_NE(problemOf(exportLevelPng(one, 1)).find("there is no level 2"), std::string::npos);
}

TEST(PngFile, KeepsEveryPixelBothWaysAndRefusesOtherFiles) {
  RgbaImage picture{3, 2, {}};
  for (int k = 0; k < 24; ++k) picture.pixels.push_back(static_cast<std::uint8_t>(k * 11));
  const auto png = valueOf(encodePng(picture));
  const RgbaImage back = valueOf(decodePng(png));
  EXPECT_EQ(back.width, 3u);
  EXPECT_EQ(back.height, 2u);
  EXPECT_EQ(back.pixels, picture.pixels);

  const std::vector<std::uint8_t> notPng{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0};
  EXPECT_NE(problemOf(decodePng(notPng)).find("not a PNG file"), std::string::npos);
  std::vector<std::uint8_t> cut(png.begin(), png.begin() + 30);
  EXPECT_NE(problemOf(decodePng(cut)).find("cannot be read"), std::string::npos);
}

TEST(MipChain, AveragesTwoByTwoPixelsDownToOne) {
  RgbaImage picture{2, 2, {0, 0, 0, 255, 255, 255, 255, 255, 1, 2, 3, 4, 4, 3, 2, 1}};
  const std::vector<RgbaImage> chain = mipChain(picture);
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_EQ(chain[1].pixels, (std::vector<std::uint8_t>{65, 65, 65, 129}));

  RgbaImage wide{4, 1, {10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0, 41, 0, 0, 0}};
  const std::vector<RgbaImage> row = mipChain(wide);
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[1].width, 2u);
  EXPECT_EQ(row[1].height, 1u);
  EXPECT_EQ(row[1].pixels[0], 15);
  EXPECT_EQ(row[1].pixels[4], 36);  // (30 + 41) / 2 rounded
  EXPECT_EQ(mipChain(wide, 2).size(), 2u);
}

}  // namespace
}  // namespace vantrel::texture
