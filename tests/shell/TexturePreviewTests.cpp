// Texture Preview without a window: the picture made for each view, the
// drawn size for each zoom, and the model following the text's levels.
#include <gtest/gtest.h>

#include "shell/PreviewPicture.h"
#include "shell/TexturePreview.h"
#include "tests/texture/TextureLevelsText.h"

namespace vantrel::shell {
namespace {

using texture::BlockFormat;
using texture::RgbaImage;
using texture::testing::levelsXml;

constexpr std::string_view kDxt1 = texture::kDxt1FormatName;

// A picture of one row: an opaque red, a clear green, a half-clear blue
// pixel, and 8 more clear pixels so the row reaches the next checker square.
RgbaImage samplePixels() {
  RgbaImage image{11, 1, {}};
  image.pixels = {255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 128};
  for (int i = 0; i < 8; ++i) image.pixels.insert(image.pixels.end(), {10, 20, 30, 0});
  return image;
}

std::vector<std::uint8_t> pixel(const RgbaImage& image, std::uint32_t x) {
  return {image.pixels.begin() + 4 * x, image.pixels.begin() + 4 * x + 4};
}

TEST(PreviewPicture, EachViewGivesOpaquePixels) {
  const RgbaImage image = samplePixels();
  const RgbaImage checks = previewPicture(image, PreviewView::ColourOverChecks);
  EXPECT_EQ(pixel(checks, 0), (std::vector<std::uint8_t>{255, 0, 0, 255}));      // opaque: itself
  EXPECT_EQ(pixel(checks, 1), (std::vector<std::uint8_t>{204, 204, 204, 255}));  // light square
  EXPECT_EQ(pixel(checks, 2), (std::vector<std::uint8_t>{102, 102, 230, 255}));  // half over it
  EXPECT_EQ(pixel(checks, 8), (std::vector<std::uint8_t>{153, 153, 153, 255}));  // next square

  const RgbaImage colour = previewPicture(image, PreviewView::ColourOnly);
  EXPECT_EQ(pixel(colour, 1), (std::vector<std::uint8_t>{0, 255, 0, 255}));
  EXPECT_EQ(pixel(colour, 2), (std::vector<std::uint8_t>{0, 0, 255, 255}));

  const RgbaImage alpha = previewPicture(image, PreviewView::AlphaOnly);
  EXPECT_EQ(pixel(alpha, 0), (std::vector<std::uint8_t>{255, 255, 255, 255}));
  EXPECT_EQ(pixel(alpha, 1), (std::vector<std::uint8_t>{0, 0, 0, 255}));
  EXPECT_EQ(pixel(alpha, 2), (std::vector<std::uint8_t>{128, 128, 128, 255}));
}

TEST(PreviewPicture, DrawnSizeForEachZoom) {
  EXPECT_EQ(drawnSize(256, 64, PreviewZoom::Actual, 100, 100), (PictureSize{256, 64}));
  EXPECT_EQ(drawnSize(256, 64, PreviewZoom::Double, 100, 100), (PictureSize{512, 128}));
  // Fit: the side that meets the viewport first decides, both ways.
  EXPECT_EQ(drawnSize(256, 64, PreviewZoom::Fit, 512, 512), (PictureSize{512, 128}));
  EXPECT_EQ(drawnSize(256, 64, PreviewZoom::Fit, 1000, 32), (PictureSize{128, 32}));
  EXPECT_EQ(drawnSize(1, 1, PreviewZoom::Fit, 300, 200), (PictureSize{200, 200}));
  // A sliver of a level never vanishes; no viewport yet: its own size.
  EXPECT_EQ(drawnSize(1024, 1, PreviewZoom::Fit, 100, 100), (PictureSize{100, 1}));
  EXPECT_EQ(drawnSize(256, 64, PreviewZoom::Fit, 0, 0), (PictureSize{256, 64}));
}

std::string fourLevels() {
  return levelsXml(std::string(kDxt1), BlockFormat::Dxt1, {{8, 8}, {4, 4}, {2, 2}, {1, 1}});
}

TEST(TexturePreviewModel, ListsTheLevelsAndShowsTheChosenOne) {
  TexturePreview preview;
  preview.setOpen(true);
  preview.showText(fourLevels());
  ASSERT_EQ(preview.levelNames().size(), 4u);
  EXPECT_EQ(preview.levelNames()[1], "Level 2: 4 \xC3\x97 4, DXT1");
  EXPECT_EQ(preview.status(), "Level 1 of 4: 8 \xC3\x97 8, DXT1");
  EXPECT_EQ(preview.picture().width, 8u);
  EXPECT_EQ(preview.picture().pixels.size(), 8u * 8u * 4u);

  preview.chooseLevel(2);
  EXPECT_EQ(preview.status(), "Level 3 of 4: 2 \xC3\x97 2, DXT1");
  EXPECT_EQ(preview.picture().width, 2u);
  preview.chooseLevel(9);  // beyond the list: nothing changes
  EXPECT_EQ(preview.level(), 2u);

  // An edit that keeps the level keeps it chosen; one without it goes back
  // to the first.
  preview.showText(fourLevels());
  EXPECT_EQ(preview.level(), 2u);
  preview.showText(levelsXml(std::string(kDxt1), BlockFormat::Dxt1, {{4, 4}, {2, 2}}));
  EXPECT_EQ(preview.level(), 0u);
  EXPECT_EQ(preview.status(), "Level 1 of 2: 4 \xC3\x97 4, DXT1");
}

TEST(TexturePreviewModel, ViewChangesThePictureNotTheLevel) {
  TexturePreview preview;
  preview.setOpen(true);
  preview.showText(fourLevels());
  preview.setView(PreviewView::ColourOnly);
  const RgbaImage colour = preview.picture();
  preview.setView(PreviewView::AlphaOnly);
  const RgbaImage& alpha = preview.picture();
  ASSERT_EQ(alpha.pixels.size(), colour.pixels.size());
  EXPECT_NE(alpha.pixels, colour.pixels);
  for (std::size_t i = 0; i < alpha.pixels.size(); i += 4) {
    EXPECT_EQ(alpha.pixels[i], alpha.pixels[i + 1]) << "pixel " << i / 4 << " is not grey";
    EXPECT_EQ(alpha.pixels[i], alpha.pixels[i + 2]) << "pixel " << i / 4 << " is not grey";
    EXPECT_EQ(alpha.pixels[i + 3], 255) << "pixel " << i / 4 << " is not opaque";
  }
  EXPECT_EQ(preview.level(), 0u);
  preview.setZoom(PreviewZoom::Double);
  EXPECT_EQ(preview.drawnSize(10, 10), (PictureSize{16, 16}));
}

TEST(TexturePreviewModel, TextsItCannotShowSayWhy) {
  TexturePreview preview;
  preview.setOpen(true);
  preview.showText("<cRecordSet/>");
  EXPECT_EQ(preview.status(), kNoTextureMessage);
  EXPECT_TRUE(preview.levelNames().empty());
  EXPECT_TRUE(preview.picture().pixels.empty());

  // A level whose data is cut short: the reading's reason, no picture.
  std::string damaged = fourLevels();
  damaged.replace(damaged.find("d:size=\"32\""), 11, "d:size=\"40\"");
  preview.showText(damaged);
  EXPECT_NE(preview.status().find("line"), std::string::npos) << preview.status();
  EXPECT_TRUE(preview.picture().pixels.empty());

  // A format that cannot be decoded: the level is listed, its reason shown.
  const std::string col888 = texture::testing::textureAround(
      {2, 2}, texture::testing::levelXml("HC_IMAGE_FORMAT_COL888", {2, 2}, 100,
                                         std::vector<std::uint8_t>(12, 7)));
  preview.showText(col888);
  ASSERT_EQ(preview.levelNames().size(), 1u);
  EXPECT_EQ(preview.status().rfind("Level 1 of 1: 2 \xC3\x97 2, HC_IMAGE_FORMAT_COL888. ", 0), 0u)
      << preview.status();
  EXPECT_TRUE(preview.picture().pixels.empty());

  // Closed, it forgets the text and its pictures.
  preview.showText(fourLevels());
  preview.setOpen(false);
  EXPECT_TRUE(preview.levelNames().empty());
  EXPECT_TRUE(preview.picture().pixels.empty());
}

}  // namespace
}  // namespace vantrel::shell
