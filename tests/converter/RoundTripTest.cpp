// Hand-made documents for what the fixtures lack: every scalar type at its
// limits, the cache ring, blobs, references, arrays, escaping, non-ASCII text
// and edited floats.

#include "ConverterTestSupport.h"

#include <cstring>

namespace serz {
namespace {

using namespace serz::testing;

// Binary payload of the first value record: after the header, the root open
// record (FF 50, new name, id, count) and the value's shape.
std::string payloadOfSingleValue(const std::string& bin, std::string_view name,
                                 std::string_view type) {
  const std::size_t shape = 8 + 2 + 6 + 4 + 8;  // header, FF 50, new "Root", id and count
  std::size_t at = shape + 2 + 6 + name.size() + 6 + type.size();
  return bin.substr(at, bin.size() - at - 4);  // minus the close record FF 70 00 00
}

struct ScalarCase {
  const char* type;
  const char* text;
  const char* payloadHex;
};

class ScalarLimits : public ::testing::TestWithParam<ScalarCase> {};

TEST_P(ScalarLimits, KeepTheirBytesAndText) {
  const ScalarCase& c = GetParam();
  const std::string line = std::string("<v d:type=\"") + c.type + "\">" + c.text + "</v>";
  const std::string xml = canonicalXml({line});
  const std::string bin = toBin(xml);
  EXPECT_EQ(hex(payloadOfSingleValue(bin, "v", c.type)), c.payloadHex);
  EXPECT_EQ(toXml(bin), xml);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ScalarLimits,
    ::testing::Values(ScalarCase{"bool", "0", "00"}, ScalarCase{"bool", "1", "01"},
                      ScalarCase{"sInt8", "-128", "80"}, ScalarCase{"sInt8", "127", "7F"},
                      ScalarCase{"sUInt8", "255", "FF"}, ScalarCase{"sInt16", "-32768", "00 80"},
                      ScalarCase{"sInt16", "32767", "FF 7F"},
                      ScalarCase{"sUInt16", "65535", "FF FF"},
                      ScalarCase{"sInt32", "-2147483648", "00 00 00 80"},
                      ScalarCase{"sInt32", "2147483647", "FF FF FF 7F"},
                      ScalarCase{"sUInt32", "4294967295", "FF FF FF FF"},
                      ScalarCase{"sInt64", "-9223372036854775808", "00 00 00 00 00 00 00 80"},
                      ScalarCase{"sInt64", "9223372036854775807", "FF FF FF FF FF FF FF 7F"},
                      ScalarCase{"sUInt64", "18446744073709551615", "FF FF FF FF FF FF FF FF"}));

TEST(Floats, LimitsAndSpecialValuesKeepTheirExactBits) {
  const char* cases[][3] = {
      // type, alt_encoding, text
      {"sFloat32", "000000E0FFFFEF47", "3.40282e+038"},  // FLT_MAX, three exponent digits
      {"sFloat32", "000000000000A036", "1.4013e-045"},   // smallest denormal
      {"sFloat32", "0000000000000080", "-0"},
      {"sFloat32", "000000000000F07F", "inf"},
      {"sFloat32", "000000000000F0FF", "-inf"},
      {"sFloat64", "FFFFFFFFFFFFEF7F", "1.79769e+308"},  // DBL_MAX
      {"sFloat64", "0100000000000000", "4.94066e-324"},
      {"sFloat64", "7B14AE47E17A843F", "0.01"},
  };
  for (const auto& c : cases) {
    const std::string line = std::string("<f d:type=\"") + c[0] + "\" d:alt_encoding=\"" + c[1] +
                             "\" d:precision=\"string\">" + c[2] + "</f>";
    const std::string xml = canonicalXml({line});
    EXPECT_EQ(toXml(toBin(xml)), xml) << line;
  }
}

// A NaN keeps its bits through binary -> XML -> binary: quiet or signalling,
// either sign, any payload. The processor's float/double conversions would
// set the quiet bit of a signalling NaN.
TEST(Floats, NanPayloadsAndSignallingNansKeepTheirBits) {
  const auto valueFile = [](std::string_view type, std::uint32_t low, std::uint32_t high) {
    BinBuilder b;
    b.u8(0xFF).u8('P').str("Root").u32(0).u32(1).u8(0xFF).u8('V').str("f").str(type).u32(low);
    if (type == "sFloat64") b.u32(high);
    return b.u8(0xFF).u8('p').ref(0).bytes();
  };
  const std::uint32_t floats[] = {0x7F800001, 0x7FA00000, 0xFFBFFFFF, 0x7FC00000, 0xFFC12345};
  for (const std::uint32_t bits : floats) {
    const std::string bin = valueFile("sFloat32", bits, 0);
    const std::string xml = toXml(bin);
    EXPECT_EQ(hex(toBin(xml)), hex(bin)) << xml;
    EXPECT_EQ(toXml(toBin(xml)), xml);
  }
  // A signalling sFloat32 shows as the signalling double of the same payload.
  EXPECT_NE(toXml(valueFile("sFloat32", 0x7FA00000, 0)).find("d:alt_encoding=\"000000000000F47F\""),
            std::string::npos);
  const std::pair<std::uint32_t, std::uint32_t> doubles[] = {{0x00000001, 0x7FF00000},
                                                             {0x00000000, 0x7FF40000},
                                                             {0x89ABCDEF, 0xFFF01234},
                                                             {0x00000000, 0x7FF80000}};
  for (const auto& [low, high] : doubles) {
    const std::string bin = valueFile("sFloat64", low, high);
    EXPECT_EQ(hex(toBin(toXml(bin))), hex(bin)) << toXml(bin);
  }
}

TEST(Floats, EditedTextWinsOverAltEncoding) {
  const auto line = [](std::string_view text) {
    return "<Position d:type=\"sFloat32\" d:alt_encoding=\"000000401E576540\" "
           "d:precision=\"string\">" +
           std::string(text) + "</Position>";
  };
  // Unchanged text (also spelled differently): the exact bits of 170.72244f.
  EXPECT_EQ(
      hex(payloadOfSingleValue(toBin(canonicalXml({line("170.722")})), "Position", "sFloat32")),
      "F2 B8 2A 43");
  EXPECT_EQ(
      hex(payloadOfSingleValue(toBin(canonicalXml({line(" 170.7220 ")})), "Position", "sFloat32")),
      "F2 B8 2A 43");
  // Edited text: the new number.
  const std::string bin = toBin(canonicalXml({line("171.5")}));
  EXPECT_EQ(hex(payloadOfSingleValue(bin, "Position", "sFloat32")), "00 80 2B 43");
  EXPECT_NE(toXml(bin).find("d:alt_encoding=\"0000000000706540\" d:precision=\"string\">171.5<"),
            std::string::npos);
  // No alt_encoding at all: the text.
  EXPECT_EQ(hex(payloadOfSingleValue(toBin(canonicalXml({"<p d:type=\"sFloat32\">1</p>"})), "p",
                                     "sFloat32")),
            "00 00 80 3F");
}

TEST(Floats, EditedDoubleTextWinsToo) {
  const std::string line =
      "<w d:type=\"sFloat64\" d:alt_encoding=\"7B14AE47E17A843F\" d:precision=\"string\">0.25</w>";
  EXPECT_EQ(hex(payloadOfSingleValue(toBin(canonicalXml({line})), "w", "sFloat64")),
            "00 00 00 00 00 00 D0 3F");
}

TEST(Arrays, FloatIntegerAndStringElementsRoundTrip) {
  const std::string xml = canonicalXml({
      "<RXAxis d:numElements=\"4\" d:elementType=\"sFloat32\" d:precision=\"string\">-0.5724627 "
      "0.0000000 "
      "-0.8199309 -0.0000000</RXAxis>",
      // 17 significant digits, then zeros, as the converter prints them
      "<Big d:numElements=\"2\" d:elementType=\"sFloat32\" d:precision=\"string\">"
      "340282346638528860000000000000000000000.0000000 -1.5000000</Big>",
      "<Ints d:numElements=\"3\" d:elementType=\"sInt16\" d:precision=\"string\">-32768 0 "
      "32767</Ints>",
      "<Words d:numElements=\"2\" d:elementType=\"cDeltaString\" d:precision=\"string\">eTrue "
      "Zürich</Words>",
      "<None d:numElements=\"0\" d:elementType=\"sUInt8\" d:precision=\"string\"></None>",
  });
  const std::string bin = toBin(xml);
  EXPECT_EQ(toXml(bin), xml);
  // -0.0000000 keeps its sign bit.
  EXPECT_NE(bin.find(std::string("\0\0\0\x80", 4)), std::string::npos);
}

TEST(Arrays, ArbitraryWhiteSpaceBetweenElementsIsAccepted) {
  const std::string edited =
      "<?xml version=\"1.0\"?>\n<Root><a d:numElements=\"3\" d:elementType=\"sInt32\">\n"
      "  1\t2\r\n  3  </a></Root>";
  EXPECT_EQ(
      toXml(toBin(edited)),
      canonicalXml(
          {"<a d:numElements=\"3\" d:elementType=\"sInt32\" d:precision=\"string\">1 2 3</a>"}));
}

// As the converter lays them out: the hex starts on the open tag's line.
TEST(Blobs, WrittenAsHexWordsAndReadInAnyLayout) {
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(2)
                              .u8(0xFF)
                              .u8('B')
                              .u32(36)
                              .raw("0123456789abcdefghijklmnopqrstuvwxyz")
                              .u8(0x01)
                              .u32(0)  // a second, cached, empty blob
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  const std::string expected = canonicalXml({
      "<d:blob d:size=\"36\">"
      "3031323334353637 3839616263646566 6768696A6B6C6D6E 6F70717273747576\r\n"
      "7778797A</d:blob>",
      "<d:blob d:size=\"0\"></d:blob>",
  });
  EXPECT_EQ(xml, expected);
  EXPECT_EQ(hex(toBin(xml)), hex(bin));

  const std::string relaid = "<Root><d:blob d:size=\"3\">0a 1B\n\tff</d:blob></Root>";
  auto doc = readXml(relaid);
  ASSERT_TRUE(doc.ok());
  ASSERT_EQ(doc.value().blobs.size(), 1u);
  EXPECT_EQ(hex(doc.value().blobs[0]), "0A 1B FF");
}

// Ids and references print signed, as the converter prints them; either
// spelling reads back as the same 32 bits.
TEST(References, RoundTripWithTheirIds) {
  const std::string xml =
      canonicalXml({"<Target d:type=\"ref\">-1</Target>", "<Other d:type=\"ref\">0</Other>",
                    "<Far d:type=\"ref\">-2147483648</Far>"});
  const std::string bin = toBin(xml);
  EXPECT_NE(hex(bin).find("FF 52 FF FF 06 00 00 00 54 61 72 67 65 74 FF FF FF FF"),
            std::string::npos);
  EXPECT_EQ(toXml(bin), xml);
  EXPECT_EQ(toBin(canonicalXml({"<Target d:type=\"ref\">4294967295</Target>",
                                "<Other d:type=\"ref\">0</Other>",
                                "<Far d:type=\"ref\">2147483648</Far>"})),
            bin);
}

TEST(Elements, IdsNilNamesAndEmptyElements) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
      "d:id=\"-1\">\r\n"
      "\t<Driver>\r\n\t\t<d:nil/>\r\n\t</Driver>\r\n"
      "\t<Localisation-cUserLocalisedString d:id=\"7\"/>\r\n"
      "\t<e d:type=\"cDeltaString\"></e>\r\n"
      "</cRecordSet>\r\n";
  const std::string bin = toBin(xml);
  // "-" is stored as "::", and "e" as the name "e".
  EXPECT_NE(bin.find("Localisation::cUserLocalisedString"), std::string::npos);
  EXPECT_NE(hex(bin).find("FF 56 FF FF 01 00 00 00 65 FF FF 0C 00 00 00"), std::string::npos);
  EXPECT_EQ(toXml(bin), xml);
}

TEST(Elements, AnEmptyRootIsOneEmptyElementTag) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<Root xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" d:id=\"5\"/>\r\n";
  const std::string bin = toBin(xml);
  EXPECT_EQ(hex(bin.substr(8)),
            "FF 50 FF FF 04 00 00 00 52 6F 6F 74 05 00 00 00 00 00 00 00 FF 70 00 00");
  EXPECT_EQ(toXml(bin), xml);
}

TEST(Strings, SpecialCharactersAreEscapedAndSurvive) {
  const std::string xml = canonicalXml({
      "<s d:type=\"cDeltaString\">A &amp; B &lt;c&gt; &quot;q&quot; &apos;a&apos;</s>",
      "<t d:type=\"cDeltaString\">tab&#9;cr&#13;lf&#10;end</t>",
      "<u d:type=\"cDeltaString\">  two  spaces  </u>",
      "<w d:type=\"cDeltaString\"> </w>",
  });
  const std::string bin = toBin(xml);
  EXPECT_NE(bin.find("A & B <c> \"q\" 'a'"), std::string::npos);
  EXPECT_NE(bin.find("tab\tcr\rlf\nend"), std::string::npos);
  EXPECT_EQ(toXml(bin), xml);
  // Attribute-style and CDATA input give the same string.
  const std::string other =
      "<Root><s d:type='cDeltaString'><![CDATA[A & B <c>]]> \"q\" &apos;a&apos;</s></Root>";
  EXPECT_NE(toBin(other).find("A & B <c> \"q\" 'a'"), std::string::npos);
}

TEST(Strings, NonAsciiLengthCountsCharacters) {
  const std::string xml = canonicalXml({"<City d:type=\"cDeltaString\">Zürich</City>"});
  const std::string bin = toBin(xml);
  EXPECT_NE(hex(bin).find("FF FF 06 00 00 00 5A C3 BC 72 69 63 68"), std::string::npos);
  EXPECT_EQ(toXml(bin), xml);
  // Four-byte sequences count as one character too.
  const std::string emoji = canonicalXml({"<x d:type=\"cDeltaString\">a\xF0\x9F\x9A\x82</x>"});
  EXPECT_NE(hex(toBin(emoji)).find("FF FF 02 00 00 00 61 F0 9F 9A 82"), std::string::npos);
}

TEST(Layout, AnyWhiteSpaceLineEndsAndAttributeOrderAreAccepted) {
  const std::string edited =
      "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?>\n<!-- edited -->\n"
      "<Root   d:version='1.0'  xmlns:d='http://www.kuju.com/TnT/2003/Delta' >\r\n"
      "<f d:precision=\"string\"\n   d:alt_encoding=\"000000000000F03F\"  d:type=\"sFloat32\" "
      ">1</f>\n"
      "        <Empty></Empty><n d:type=\" sInt32 \"> -5 </n>\n"
      "</Root >";
  EXPECT_EQ(toXml(toBin(edited)),
            canonicalXml({"<f d:type=\"sFloat32\" d:alt_encoding=\"000000000000F03F\" "
                          "d:precision=\"string\">1</f>",
                          "<Empty/>", "<n d:type=\"sInt32\">-5</n>"}));
}

// The table holds 65,535 strings; later new strings are written out in full
// at every use, by the encoder and the decoder alike.
TEST(StringTable, StringsPastTheLimitAreSpelledOutEveryTime) {
  std::string xml = "<Root>";
  for (int i = 0; i < 65540; ++i)
    xml += "<v d:type=\"cDeltaString\">s" + std::to_string(i) + "</v>";
  xml += "<v d:type=\"cDeltaString\">s65539</v><v d:type=\"cDeltaString\">s0</v></Root>";
  const std::string bin = toBin(xml);
  // "s65539" (past the limit) appears in full twice; "s0" (in the table) once.
  const auto count = [&](std::string_view needle) {
    std::size_t n = 0;
    for (auto at = bin.find(needle); at != std::string::npos; at = bin.find(needle, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count(std::string("\x06\0\0\0s65539", 10)), 2u);
  EXPECT_EQ(count(std::string("\x02\0\0\0s0", 6)), 1u);
  const std::string canonical = toXml(bin);
  EXPECT_EQ(toXml(toBin(canonical)), canonical);
  EXPECT_NE(canonical.find(
                "<v d:type=\"cDeltaString\">s65539</v>\r\n\t<v d:type=\"cDeltaString\">s0</v>"),
            std::string::npos);
}

// 300 distinct shapes overflow the 255-slot cache; slots are reused as a
// ring and a replaced shape must be spelled out again.
TEST(ShapeCache, RingReplacesTheOldestSlotsAfter255Shapes) {
  std::string body;
  for (int i = 1; i <= 300; ++i)
    body += "<n" + std::to_string(i) + " d:type=\"sUInt8\">" + std::to_string(i % 256) + "</n" +
            std::to_string(i) + ">";
  body += "<n300 d:type=\"sUInt8\">7</n300>";  // shape 300 went into slot 300 mod 255 = 45
  body += "<n1 d:type=\"sUInt8\">9</n1>";      // slot 1 was taken over by shape 256
  const std::string bin = toBin("<Root>" + body + "</Root>");
  // Tail: cached n300 (slot 45), spelled-out n1 (table: Root=0 n1=1 sUInt8=2),
  // spelled-out close of Root.
  EXPECT_EQ(hex(bin.substr(bin.size() - 13)), "2D 07 FF 56 01 00 02 00 09 FF 70 00 00");
  const std::string xml = toXml(bin);
  EXPECT_EQ(toXml(toBin(xml)), xml);
  EXPECT_NE(
      xml.find("\t<n300 d:type=\"sUInt8\">7</n300>\r\n\t<n1 d:type=\"sUInt8\">9</n1>\r\n</Root>"),
      std::string::npos);
}

TEST(ShapeCache, DecoderFollowsTheRing) {
  // 255 spelled-out shapes fill every slot; the 256th lands in slot 0, so
  // a later "00" means that shape, not the root's open record.
  BinBuilder b;
  b.u8(0xFF).u8('P').str("Root").u32(0).u32(256);
  b.u8(0xFF).u8('V').str("v0").str("sUInt8").u8(0);
  for (int i = 1; i <= 253; ++i)
    b.u8(0xFF).u8('V').str(std::string("v").append(std::to_string(i))).ref(2).u8(i);
  b.u8(0xFF).u8('N');  // shape 255 -> slot 0
  b.u8(0x00);          // a second nil
  b.u8(0xFF).u8('p').ref(0);
  const std::string xml = toXml(b.bytes());
  EXPECT_NE(xml.find("<v253 d:type=\"sUInt8\">253</v253>\r\n\t<d:nil/>\r\n\t<d:nil/>\r\n</Root>"),
            std::string::npos);
}

}  // namespace
}  // namespace serz
