#include "texture/DdsBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/texture/TextureText.h"
#include "texture/TextNumber.h"

namespace vantrel::texture {
namespace {

using testing::blobHex;
using testing::textureXml;
using Bytes = std::vector<std::uint8_t>;

Bytes built(std::string_view text) {
  auto result = buildDds(text);
  if (const auto* bad = std::get_if<DdsProblem>(&result)) {
    ADD_FAILURE() << "refused: " << bad->text;
    return {};
  }
  return std::get<Bytes>(std::move(result));
}

std::string refusal(std::string_view text) {
  const auto result = buildDds(text);
  if (const auto* bad = std::get_if<DdsProblem>(&result)) return bad->text;
  ADD_FAILURE() << "accepted a bad texture text";
  return {};
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + count));
}

std::uint32_t littleEndianAt(const Bytes& bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::string dataOnly(const std::string& hex, const std::string& size = "16") {
  return "<Width>4</Width><Height>4</Height><d:blob d:size=\"" + size + "\">" + hex + "</d:blob>";
}

TEST(DdsHeader, HoldsSizesFlagsAndDxt1ForATextureWithoutAlpha) {
  const Bytes dds = built(textureXml("256", "128", "16384", ""));
  ASSERT_EQ(dds.size(), 16512u);
  const Bytes first24{0x44, 0x44, 0x53, 0x20, 0x7C, 0x00, 0x00, 0x00, 0x07, 0x10, 0x08, 0x00,
                      0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00};
  EXPECT_EQ(slice(dds, 0, 24), first24);
  const Bytes pixelFormat{0x20, 0, 0, 0, 0x04, 0, 0, 0, 0x44, 0x58, 0x54, 0x31};
  EXPECT_EQ(slice(dds, 76, 12), pixelFormat);
  for (std::size_t i = 24; i < 128; ++i) {
    if (i < 76 || i >= 88) {
      EXPECT_EQ(dds[i], 0) << "header byte " << i;
    }
  }
  EXPECT_TRUE(std::all_of(dds.begin() + 128, dds.end(), [](auto b) { return b == 0; }));
}

TEST(DdsHeader, TheExplicitAlphaMarkAnywhereChangesOnlyTheFourCc) {
  const std::string plain = textureXml("256", "128", "16384", "");
  const Bytes dxt1 = built(plain);
  const Bytes dxt3 = built("<!-- FORMAT_COMPRESSED_EXPL_ALPHA -->" + plain);
  ASSERT_EQ(dxt1.size(), dxt3.size());
  for (std::size_t i = 0; i < dxt1.size(); ++i) {
    if (i != 87) {
      ASSERT_EQ(dxt1[i], dxt3[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(dxt3[87], '3');
  EXPECT_EQ(built(textureXml("256", "128", "16", "", true))[87], '3');
}

TEST(DdsHeader, StoresEveryWidthAndSizeLittleEndian) {
  EXPECT_EQ(slice(built(textureXml("4096", "1", "0", "")), 16, 4), (Bytes{0x00, 0x10, 0x00, 0x00}));
  EXPECT_EQ(slice(built(textureXml("64", "1", "0", "")), 16, 4), (Bytes{0x40, 0x00, 0x00, 0x00}));
  EXPECT_EQ(slice(built(textureXml("0", "0", "0", "")), 12, 8), Bytes(8, 0));
  const Bytes largest = built(textureXml("32767", "32767", "0", ""));
  EXPECT_EQ(littleEndianAt(largest, 12), 32767u);
  EXPECT_EQ(littleEndianAt(largest, 16), 32767u);
  EXPECT_EQ(littleEndianAt(built(dataOnly("", "305419")), 20), 305419u);
}

TEST(DdsHeader, ReadsNumbersTheLenientWay) {
  EXPECT_EQ(littleEndianAt(built(textureXml("  512  ", "1", "0", "")), 16), 512u);
  EXPECT_EQ(littleEndianAt(built(textureXml("\t1\n0 24", "1", "0", "")), 16), 1024u);
  EXPECT_EQ(littleEndianAt(built(textureXml("none", "1", "0", "")), 16), 0u);
  EXPECT_EQ(littleEndianAt(built(dataOnly("", "3.5")), 20), 4u);
  EXPECT_EQ(littleEndianAt(built(dataOnly("", "2.5")), 20), 2u);
  EXPECT_EQ(littleEndianAt(built(dataOnly("", "2\r5")), 20), 2u);
  EXPECT_EQ(readWholeNumberLeniently("-1.5x"), -2);
  EXPECT_EQ(readWholeNumberLeniently("+ 7.49"), 7);
}

TEST(DdsData, DecodesPairsAcrossBlanksAndLineBreaks) {
  const Bytes dds = built(dataOnly("0a 1B\r\nFF"));
  ASSERT_EQ(dds.size(), 144u);
  EXPECT_EQ(slice(dds, 128, 4), (Bytes{0x0A, 0x1B, 0xFF, 0x00}));
  EXPECT_EQ(slice(built(dataOnly("0 a1\nB")), 128, 2), (Bytes{0x0A, 0x1B}));
}

TEST(DdsData, IgnoresAFinalUnpairedDigitAndPadsShortDataWithZeros) {
  const Bytes dds = built(dataOnly("12345"));
  EXPECT_EQ(slice(dds, 128, 3), (Bytes{0x12, 0x34, 0x00}));
  EXPECT_EQ(dds.size(), 144u);
}

TEST(DdsData, CopiesTheWholeBlobAndOnlyTheFirst) {
  Bytes data(512);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
  std::string text = textureXml("16", "16", "512", blobHex(data));
  text += "<d:blob d:size=\"4\">FFFFFFFF</d:blob>";
  EXPECT_EQ(slice(built(text), 128, 512), data);
}

TEST(DdsRefusal, NamesAMissingTagOrQuote) {
  EXPECT_EQ(refusal("<Height>1</Height><d:blob d:size=\"0\"></d:blob>"), "has no \"<Width\" start tag");
  EXPECT_EQ(refusal("<Width>1</Width><d:blob d:size=\"0\"></d:blob>"), "has no \"<Height\" start tag");
  EXPECT_EQ(refusal("<Width>1</Width><Height>1"), "has no element text after \"<Height\"");
  EXPECT_EQ(refusal("<Width>1</Width><Height>1</Height>"), "has no \"<d:blob\" start tag");
  EXPECT_EQ(refusal("<Width>1</Width><Height>1</Height><d:blob d:size=\"4>"),
            "has no quoted data size after \"<d:blob\"");
  EXPECT_EQ(refusal("<Width>1</Width><Height>1</Height><d:blob \"4\""),
            "has no \">\" closing the \"<d:blob\" start tag");
  EXPECT_EQ(refusal("<Width>1</Width><Height>1</Height><d:blob d:size=\"1\">00</d:blo"),
            "has no \"</d:blob\" end tag");
}

TEST(DdsRefusal, NamesANumberOutOfRange) {
  EXPECT_EQ(refusal(textureXml("32768", "1", "0", "")), "gives the width 32768, outside 0 to 32767");
  EXPECT_EQ(refusal(textureXml("1", "-4", "0", "")), "gives the height -4, outside 0 to 32767");
  EXPECT_EQ(refusal(dataOnly("", "-1")), "gives the data size -1, outside 0 to 2147483519");
  EXPECT_EQ(refusal(dataOnly("", "2147483520")), "gives the data size 2147483520, outside 0 to 2147483519");
}

TEST(DdsRefusal, NamesACharacterThatIsNoHexDigitAndWhereItStands) {
  EXPECT_EQ(refusal(dataOnly("00\r\n0G")),
            "has \"G\", which is no hexadecimal digit, in the d:blob data at line 2, column 2");
  EXPECT_EQ(refusal(dataOnly("00\t11")),
            "has the character of code 9, which is no hexadecimal digit, in the d:blob data at line 1, column 57");
  EXPECT_NE(refusal(dataOnly("001G")).find("\"G\""), std::string::npos);
  EXPECT_NE(refusal(dataOnly("12x")).find("\"x\""), std::string::npos);
}

TEST(DdsRefusal, RefusesMorePairsThanTheSize) {
  EXPECT_EQ(refusal(dataOnly("00 11 22", "2")),
            "has 3 digit pairs in the d:blob data, more than its size of 2 bytes");
  EXPECT_EQ(built(dataOnly("00 11 2", "2")).size(), 130u);
}

}  // namespace
}  // namespace vantrel::texture
