#include "texture/DdsBuilder.h"

#include <gtest/gtest.h>

#include "tests/texture/TextureText.h"
#include "texture/TextureFormat.h"

namespace vantrel::texture {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::serzTextureXml;
using testing::textureXml;

Bytes built(const std::string& text) {
  auto result = buildDds(text);
  if (auto* bad = std::get_if<DdsProblem>(&result)) ADD_FAILURE() << bad->text;
  return std::holds_alternative<Bytes>(result) ? std::get<Bytes>(std::move(result)) : Bytes(128);
}

Bytes at(const Bytes& bytes, std::size_t offset, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(offset),
               bytes.begin() + static_cast<long>(offset + count));
}

// Four data bytes of a 4 x 4 texture, from the given data text.
Bytes data(const std::string& hex) { return at(built(textureXml("4", "4", "4", hex)), 128, 4); }

TEST(DdsBuilder, WritesTheHeaderOfA256By128Dxt1Texture) {
  const Bytes dds = built(textureXml("256", "128", "16384", ""));
  ASSERT_EQ(dds.size(), 16512u);
  Bytes header(128, 0);
  const Bytes first24{0x44, 0x44, 0x53, 0x20, 0x7C, 0, 0, 0, 0x07, 0x10, 0x08, 0,
                      0x80, 0,    0,    0,    0,    1, 0, 0, 0,    0x40, 0,    0};
  const Bytes pixelFormat{0x20, 0, 0, 0, 0x04, 0, 0, 0, 0x44, 0x58, 0x54, 0x31};
  std::copy(first24.begin(), first24.end(), header.begin());
  std::copy(pixelFormat.begin(), pixelFormat.end(), header.begin() + 76);
  EXPECT_EQ(at(dds, 0, 128), header);

  Bytes dxt3 =
      built("<!-- FORMAT_COMPRESSED_EXPL_ALPHA -->" + textureXml("256", "128", "16384", ""));
  EXPECT_EQ(dxt3[87], '3');
  dxt3[87] = '1';
  EXPECT_EQ(dxt3, dds);
}

TEST(DdsBuilder, StoresWidthsLittleEndianAndReadsThemLeniently) {
  EXPECT_EQ(at(built(textureXml("4096", "1", "0", "")), 16, 4), (Bytes{0, 0x10, 0, 0}));
  EXPECT_EQ(at(built(textureXml("64", "1", "0", "")), 16, 4), (Bytes{0x40, 0, 0, 0}));
  EXPECT_EQ(at(built(textureXml(" 5\n12 ", "1", "0", "")), 16, 4), (Bytes{0, 2, 0, 0}));
  EXPECT_EQ(at(built(textureXml("2.5\r9", "1", "0", "")), 16, 4), (Bytes{2, 0, 0, 0}));
}

std::string bytesOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The first Format element decides; the data is exactly one image in whole
// 4 x 4 blocks.
TEST(DdsBuilder, TakesTheFormatFromTheFirstFormatElement) {
  struct Case {
    std::string format;
    int width, height;
    std::size_t imageBytes;
    const char* fourCc;
  };
  const Case cases[] = {
      {"HC_IMAGE_FORMAT_COMPRESSED", 8, 4, 16, "DXT1"},
      {"HC_IMAGE_FORMAT_COMPRESSED", 6, 6, 32, "DXT1"},  // 2 x 2 blocks
      {"HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA", 8, 4, 32, "DXT3"},
      {"HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA", 8, 4, 32, "DXT5"},
      {"HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA", 1, 1, 16, "DXT5"},
      {" \r\n HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA\t", 256, 64, 16384, "DXT5"},
  };
  for (const Case& c : cases) {
    Bytes image(c.imageBytes);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const Bytes dds = built(serzTextureXml(c.format, c.width, c.height,
                                           std::to_string(image.size()), testing::blobHex(image)));
    ASSERT_EQ(dds.size(), 128 + image.size()) << c.format;
    EXPECT_EQ(bytesOf(at(dds, 84, 4)), c.fourCc);
    EXPECT_EQ(at(dds, 12, 8), (Bytes{std::uint8_t(c.height), std::uint8_t(c.height >> 8), 0, 0,
                                     std::uint8_t(c.width), std::uint8_t(c.width >> 8), 0, 0}));
    EXPECT_EQ(at(dds, 128, image.size()), image) << c.format;
  }

  // Only the first Format counts, the explicit-alpha mark does not, and an
  // element whose name merely begins with Format is another element.
  const std::string dxt1 =
      serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED", 4, 4, "8", std::string(16, '0'));
  const std::pair<std::string, const char*> texts[] = {
      {dxt1 + "<Format>HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA</Format>", "DXT1"},
      {"<!-- FORMAT_COMPRESSED_EXPL_ALPHA -->" + dxt1, "DXT1"},
      {"<FormatVersion>2</FormatVersion>" + dxt1, "DXT1"},
      {"<FormatVersion>HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA</FormatVersion>" +
           textureXml("4", "4", "8", ""),
       "DXT1"},
  };
  for (const auto& [text, fourCc] : texts)
    EXPECT_EQ(bytesOf(at(built(text), 84, 4)), fourCc) << text;
}

TEST(DdsBuilder, DecodesDigitPairsAcrossBlanksAndLineBreaks) {
  EXPECT_EQ(data("0a 1B\r\nFF"), (Bytes{0x0A, 0x1B, 0xFF, 0}));
  EXPECT_EQ(data("1234"), (Bytes{0x12, 0x34, 0, 0}));
  EXPECT_EQ(built(textureXml("4", "4", "48", "")).size(),
            128u + 48);  // a whole 4 x 4 DXT3 mip chain
  EXPECT_EQ(data("0 1\n2 3"), (Bytes{0x01, 0x23, 0, 0}));
  EXPECT_EQ(
      at(built(textureXml("4", "4", "2", "AB") + "<d:blob d:size=\"2\">CDEF</d:blob>"), 128, 2),
      (Bytes{0xAB, 0}));
}

TEST(DdsBuilder, SaysWhatIsWrongWithABadTexture) {
  const std::pair<std::string, std::string> cases[] = {
      {"<Height>1</Height>", "has no \"<Width\" start tag"},
      {"<Width>1</Width><Height>1", "has no element text after \"<Height\""},
      {"<Width>1</Width><Height>1</Height><d:blob>", "has no quoted data size after \"<d:blob\""},
      {"<Width>1</Width><Height>1</Height><d:blob \"1\">00", "has no \"</d:blob\" end tag"},
      {textureXml("32768", "4", "4", ""), "gives the width 32768, outside 0 to 32767"},
      {textureXml("4", "4", "-1", ""), "gives the data size -1, outside 0 to 2147483519"},
      {textureXml("4", "4", "4", "00\r\n1G"),
       "has \"G\", which is no hexadecimal digit, in the d:blob data at line 10, column 2"},
      {textureXml("4", "4", "4", "00\t11"),
       "has the character of code 9, which is no hexadecimal digit"},
      {textureXml("4", "4", "1", "00 11"),
       "has 2 digit pairs in the d:blob data, more than its size of 1 bytes"},
      // An odd number of digits, as serz refuses it, wherever the blanks are.
      {textureXml("4", "4", "4", "12345"),
       "has an odd number of hexadecimal digits in the d:blob data: the last one, at line 9, "
       "column 5, is half a byte"},
      {textureXml("4", "4", "4", "0 1\r\n2"),
       "has an odd number of hexadecimal digits in the d:blob data: the last one, at line 10, "
       "column 1, is half a byte"},
      {textureXml("4", "4", "1", "0"), "has an odd number of hexadecimal digits"},
      // A width, height or size text without a number is named, one line.
      {textureXml("wide", "4", "4", ""), "gives the width as \"wide\", which is not a number"},
      {textureXml("4", "\r\n4", "4", ""),
       "gives the height as \"\\x0D\\x0A4\", which is not a number"},
      {textureXml("4", "", "4", ""), "gives the height as \"\", which is not a number"},
      {textureXml("4", "4", "-", ""), "gives the data size as \"-\", which is not a number"},
      // A named format: known, and exactly one image in whole blocks.
      {serzTextureXml("FORMAT_COMPRESSED", 4, 4, "8", ""),
       "has the format \"FORMAT_COMPRESSED\"; a .dds file is written only for "
       "HC_IMAGE_FORMAT_COMPRESSED (DXT1), "
       "HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA (DXT3) and HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA "
       "(DXT5)"},
      {"<Format/>" + textureXml("4", "4", "8", ""),
       "has an empty Format element; a .dds file is written only for"},
      {serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA", 256, 64, "8192",
                      std::string(16384, '0')),
       "has the wrong image size: the image data holds 8192 bytes; a 256 \u00D7 64 DXT5 image "
       "needs 16384"},
      {serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED", 6, 6, "16", ""),
       "has the wrong image size: the image data holds 16 bytes; a 6 \u00D7 6 DXT1 image needs 32"},
      {serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA", 4, 4, "32", std::string(64, '0')),
       "has the wrong image size: the image data holds 32 bytes; a 4 \u00D7 4 DXT3 image needs 16"},
      {serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA", 256, 64, "16384",
                      std::string(16382, 'A')),
       "has the wrong image size: the image data holds 8191 bytes (its d:size says 16384); a 256 "
       "\u00D7 64 DXT5 "
       "image needs 16384"},
      {serzTextureXml("HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA", 0, 4, "0", ""),
       "gives the width 0; a DXT3 image is at least 1 \u00D7 1"},
      // Without a Format, short data is padded, but never beyond a whole
      // DXT3 mip chain: a short text cannot claim a 2 GB file.
      {textureXml("4", "4", "49", ""),
       "gives the data size 49, more than the 48 bytes of a whole 4 \u00D7 4 DXT3 mip chain"},
      {"<Width>4096</Width><Height>4096</Height><d:blob d:size=\"2147483519\"></d:blob>",
       "gives the data size 2147483519, more than the 22369648 bytes of a whole 4096 \u00D7 4096 "
       "DXT3 mip chain"},
  };
  for (const auto& [text, problem] : cases) {
    const auto result = buildDds(text);
    ASSERT_TRUE(std::holds_alternative<DdsProblem>(result)) << text;
    EXPECT_EQ(std::get<DdsProblem>(result).text.rfind(problem, 0), 0u)
        << std::get<DdsProblem>(result).text;
  }
}

// The limit for texts without a Format: whole blocks at every level down to
// 1 x 1, about width x height x 4/3 for large textures.
TEST(TextureFormat, MipChainsCountWholeBlocksAtEveryLevel) {
  EXPECT_EQ(mipChainBytes(BlockFormat::Dxt3, 1024, 1024), 1398128u);
  EXPECT_EQ(mipChainBytes(BlockFormat::Dxt3, 4, 4), 48u);
  EXPECT_EQ(mipChainBytes(BlockFormat::Dxt1, 256, 64),
            8192u + 2048 + 512 + 128 + 32 + 16 + 8 + 8 + 8);
  EXPECT_EQ(mipChainBytes(BlockFormat::Dxt5, 1, 1), 16u);
  EXPECT_EQ(mipChainBytes(BlockFormat::Dxt3, 0, 64), 0u);
}

}  // namespace
}  // namespace vantrel::texture
