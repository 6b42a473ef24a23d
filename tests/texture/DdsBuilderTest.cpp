#include "texture/DdsBuilder.h"

#include <gtest/gtest.h>

#include "tests/texture/TextureText.h"

namespace vantrel::texture {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::textureXml;

Bytes built(const std::string& text) {
  auto result = buildDds(text);
  if (auto* bad = std::get_if<DdsProblem>(&result)) ADD_FAILURE() << bad->text;
  return std::holds_alternative<Bytes>(result) ? std::get<Bytes>(std::move(result)) : Bytes(128);
}

Bytes at(const Bytes& bytes, std::size_t offset, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(offset), bytes.begin() + static_cast<long>(offset + count));
}

// Four data bytes of a 4 x 4 texture, from the given data text.
Bytes data(const std::string& hex) { return at(built(textureXml("4", "4", "4", hex)), 128, 4); }

TEST(DdsBuilder, WritesTheHeaderOfA256By128Dxt1Texture) {
  const Bytes dds = built(textureXml("256", "128", "16384", ""));
  ASSERT_EQ(dds.size(), 16512u);
  Bytes header(128, 0);
  const Bytes first24{0x44, 0x44, 0x53, 0x20, 0x7C, 0, 0, 0, 0x07, 0x10, 0x08, 0, 0x80, 0, 0, 0, 0, 1, 0, 0, 0, 0x40, 0, 0};
  const Bytes pixelFormat{0x20, 0, 0, 0, 0x04, 0, 0, 0, 0x44, 0x58, 0x54, 0x31};
  std::copy(first24.begin(), first24.end(), header.begin());
  std::copy(pixelFormat.begin(), pixelFormat.end(), header.begin() + 76);
  EXPECT_EQ(at(dds, 0, 128), header);

  Bytes dxt3 = built("<!-- FORMAT_COMPRESSED_EXPL_ALPHA -->" + textureXml("256", "128", "16384", ""));
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

TEST(DdsBuilder, DecodesDigitPairsAcrossBlanksAndLineBreaks) {
  EXPECT_EQ(data("0a 1B\r\nFF"), (Bytes{0x0A, 0x1B, 0xFF, 0}));
  EXPECT_EQ(data("12345"), (Bytes{0x12, 0x34, 0, 0}));
  EXPECT_EQ(data("0 1\n2"), (Bytes{0x01, 0, 0, 0}));
  EXPECT_EQ(at(built(textureXml("4", "4", "2", "AB") + "<d:blob d:size=\"2\">CDEF</d:blob>"), 128, 2),
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
      {textureXml("4", "4", "4", "00\r\n1G"), "has \"G\", which is no hexadecimal digit, in the d:blob data at line 10, column 2"},
      {textureXml("4", "4", "4", "00\t11"), "has the character of code 9, which is no hexadecimal digit"},
      {textureXml("4", "4", "1", "00 11"), "has 2 digit pairs in the d:blob data, more than its size of 1 bytes"},
  };
  for (const auto& [text, problem] : cases) {
    const auto result = buildDds(text);
    ASSERT_TRUE(std::holds_alternative<DdsProblem>(result)) << text;
    EXPECT_EQ(std::get<DdsProblem>(result).text.rfind(problem, 0), 0u) << std::get<DdsProblem>(result).text;
  }
}

}  // namespace
}  // namespace vantrel::texture
