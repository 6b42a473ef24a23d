// What real files hold that a strict reading of the format would refuse:
// child counts that leave out blobs, a save's root that states none, prefix
// records inside the tree, empty names, '-' in names, ids past 2^31, bool
// bytes other than 0 and 1, and non-ASCII text whose lengths count
// characters. Built byte by byte, one kind per case.

#include "ConverterTestSupport.h"

namespace serz {
namespace {

using namespace serz::testing;
using namespace std::string_literals;

std::string xmlOf(std::initializer_list<std::string_view> lines) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  for (std::string_view line : lines) xml.append(line).append("\r\n");
  return xml;
}

std::size_t utf8Chars(std::string_view s) {
  return static_cast<std::size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Where `needle` (hex) lies in `bin`, or npos.
std::size_t findHex(const std::string& bin, std::string_view needle) {
  return hex(bin).find(needle);
}

TEST(ChildCounts, AreFollowedByTheRecordsNotByTheCount) {
  // A texture level that counts its value but not its blob, as the game
  // writes them; converting back counts both.
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("cHcImageDx")
                              .u32(7)
                              .u32(1)
                              .u8(0xFF)
                              .u8('V')
                              .str("Width")
                              .str("sUInt16")
                              .u16(4)
                              .u8(0xFF)
                              .u8('B')
                              .u32(2)
                              .raw("\xAB\xCD")
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_EQ(xml, xmlOf({"<cHcImageDx xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" "
                        "d:version=\"1.0\" d:id=\"7\">",
                        "\t<Width d:type=\"sUInt16\">4</Width>",
                        "\t<d:blob d:size=\"2\">ABCD</d:blob>", "</cHcImageDx>"}));
  EXPECT_EQ(findHex(toBin(xml), "07 00 00 00 02 00 00 00"),
            findHex(bin, "07 00 00 00 01 00 00 00"));

  // A count larger than the children is read the same way.
  const std::string tooMany =
      BinBuilder().u8(0xFF).u8('P').str("Root").u32(0).u32(9).u8(0xFF).u8('p').ref(0).bytes();
  EXPECT_EQ(toXml(tooMany),
            xmlOf({"<Root xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\"/>"}));
}

TEST(PrefixRecords, StandFirstOrAfterTheRootAndHaveNoXmlForm) {
  // A save: the root states 0 children, then a prefix record, then its child.
  const std::string save = BinBuilder()
                               .u8(0xFF)
                               .u8('P')
                               .str("Scenario_833725f9-f537-4e29-87bb-667298f40902")
                               .u32(0)
                               .u32(0)
                               .u8(0xFF)
                               .u8('C')
                               .u8(0)
                               .u32(4)
                               .u8(0xFF)
                               .u8('P')
                               .str("Network::cJunctionSave")
                               .u32(167278)
                               .u32(0)
                               .u8(0xFF)
                               .u8('p')
                               .ref(1)
                               .u8(0xFF)
                               .u8('p')
                               .ref(0)
                               .bytes();
  const std::string xml = toXml(save);
  EXPECT_EQ(xml, xmlOf({"<Scenario_833725f9-f537-4e29-87bb-667298f40902 "
                        "xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" "
                        "d:version=\"1.0\">",
                        "\t<Network-cJunctionSave d:id=\"167278\"/>",
                        "</Scenario_833725f9-f537-4e29-87bb-667298f40902>"}));
  // Back: no prefix record, the root counts its child, the GUID keeps its '-'.
  const std::string back = toBin(xml);
  EXPECT_EQ(back.find("\xFF\x43"), std::string::npos);
  EXPECT_NE(back.find("Scenario_833725f9-f537-4e29-87bb-667298f40902\0\0\0\0\1\0\0\0"s),
            std::string::npos);
  EXPECT_NE(back.find("Network::cJunctionSave"), std::string::npos);

  // A game file: the prefix record first. It takes a cache slot, so slot 1
  // is the root's open record.
  const std::string game = BinBuilder()
                               .u8(0xFF)
                               .u8('C')
                               .u8(0)
                               .u32(56)
                               .u8(0xFF)
                               .u8('P')
                               .str("cRecordSet")
                               .u32(0)
                               .u32(1)
                               .u8(0x01)
                               .u32(0)
                               .u32(0)
                               .u8(0xFF)
                               .u8('p')
                               .ref(0)
                               .u8(0x02)
                               .bytes();
  EXPECT_EQ(toXml(game),
            xmlOf({"<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">",
                   "\t<cRecordSet/>", "</cRecordSet>"}));
}

TEST(Names, EmptyNamesShowAsEAndComeBackAsTheNameE) {
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(2)
                              .u8(0xFF)
                              .u8('V')
                              .str("")
                              .str("sUInt64")
                              .raw(std::string(8, '\x11'))
                              .u8(0xFF)
                              .u8('A')
                              .ref(1)
                              .str("sFloat32")
                              .u8(1)
                              .u32(0x3F800000)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_EQ(xml, canonicalXml({"<e d:type=\"sUInt64\">1229782938247303441</e>",
                               "<e d:numElements=\"1\" d:elementType=\"sFloat32\" "
                               "d:precision=\"string\">1.0000000</e>"}));
  // The simulator's converter writes the name "e" here, and the game reads it.
  const std::string back = toBin(xml);
  EXPECT_NE(findHex(back, "FF 56 FF FF 01 00 00 00 65 FF FF 07 00 00 00"), std::string::npos)
      << hex(back);
  EXPECT_EQ(toXml(back), xml);
}

TEST(Values, BoolBytesOtherThanZeroAndOneReadAsOne) {
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(2)
                              .u8(0xFF)
                              .u8('V')
                              .str("TravelForwards")
                              .str("bool")
                              .u8(0x0E)
                              .u8(0x01)
                              .u8(0x00)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_EQ(xml, canonicalXml({"<TravelForwards d:type=\"bool\">1</TravelForwards>",
                               "<TravelForwards d:type=\"bool\">0</TravelForwards>"}));
  EXPECT_NE(findHex(toBin(xml), "62 6F 6F 6C 01 01 00"),
            std::string::npos);  // "bool" 1, then cached 0
}

TEST(Values, IdsFromTwoToThe31UpPrintNegative) {
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("cRecordSet")
                              .u32(2349768176u)
                              .u32(0)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_NE(xml.find(" d:id=\"-1945199120\"/>"), std::string::npos) << xml;
  EXPECT_EQ(toBin(xml), bin);
}

// Lengths in the binary count characters: "Kąty" is 4 characters in 5 bytes.
TEST(Text, NonAsciiStringsAndNamesCountCharactersBothWays) {
  const std::string katy = "K\xC4\x85ty", worth = "W\xC3\xB6rth",
                    strasse =
                        "Stra\xC3\x9F"
                        "e";
  const std::string zluty =
      "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88";  // "Žluťoučký kůň"
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(3)
                              .u8(0xFF)
                              .u8('V')
                              .str(strasse, 6)
                              .str("cDeltaString")
                              .str(katy, 4)
                              .u8(0x01)
                              .str(zluty, 13)
                              .u8(0xFF)
                              .u8('A')
                              .str("Places")
                              .ref(2)
                              .u8(2)
                              .ref(3)
                              .str(worth, 5)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_EQ(
      xml,
      canonicalXml(
          {"<" + strasse + " d:type=\"cDeltaString\">" + katy + "</" + strasse + ">",
           "<" + strasse + " d:type=\"cDeltaString\">" + zluty + "</" + strasse + ">",
           "<Places d:numElements=\"2\" d:elementType=\"cDeltaString\" d:precision=\"string\">" +
               katy + " " + worth + "</Places>"}));
  EXPECT_EQ(hex(toBin(xml)), hex(bin));
}

// Binary name -> XML name -> binary name after converting back.
struct NameRule {
  std::string_view binary;
  std::string_view xml;   // empty: binary to XML refuses the name
  std::string_view back;  // or the reason for refusing it
};

constexpr NameRule kNameRules[] = {
    {"", "e", "e"},  // the game's empty names; the simulator's converter writes "e"
    {"e", "e", "e"},
    {"Localisation::cUserLocalisedString", "Localisation-cUserLocalisedString",
     "Localisation::cUserLocalisedString"},
    {"Network::cTurnoutPattern::cSave", "Network-cTurnoutPattern-cSave",
     "Network::cTurnoutPattern::cSave"},
    // A GUID keeps its '-', whichever way the file spelled it.
    {"Scenario_833725f9-f537-4e29-87bb-667298f40902",
     "Scenario_833725f9-f537-4e29-87bb-667298f40902",
     "Scenario_833725f9-f537-4e29-87bb-667298f40902"},
    {"Scenario_BE29AEED::34e3::4443::b0ad::250e18bd1b92",
     "Scenario_BE29AEED-34e3-4443-b0ad-250e18bd1b92",
     "Scenario_BE29AEED-34e3-4443-b0ad-250e18bd1b92"},
    {"Ns::833725f9-f537-4e29-87bb-667298f40902::x", "Ns-833725f9-f537-4e29-87bb-667298f40902-x",
     "Ns::833725f9-f537-4e29-87bb-667298f40902::x"},
    // Not a GUID: a hex digit more at either end, or a group too short.
    {"a833725f9-f537-4e29-87bb-667298f40902", "a833725f9-f537-4e29-87bb-667298f40902",
     "a833725f9::f537::4e29::87bb::667298f40902"},
    {"x_833725f9-f537-4e29-87bb-667298f409021", "x_833725f9-f537-4e29-87bb-667298f409021",
     "x_833725f9::f537::4e29::87bb::667298f409021"},
    {"x_33725f9-f537-4e29-87bb-667298f40902", "x_33725f9-f537-4e29-87bb-667298f40902",
     "x_33725f9::f537::4e29::87bb::667298f40902"},
    {"Names-Nested", "Names-Nested", "Names::Nested"},
    {"Stra\xC3\x9F"
     "e.v2",
     "Stra\xC3\x9F"
     "e.v2",
     "Stra\xC3\x9F"
     "e.v2"},
    {"two words", "", "not a valid XML name"},
    {"1st", "", "not a valid XML name"},
    {"a:b", "", "':' that is not part of a \"::\""},
    {"::a", "", "':' that is not part of a \"::\""},
};

TEST(Names, OneTableForBothDirections) {
  for (const NameRule& rule : kNameRules) {
    SCOPED_TRACE(std::string(rule.binary));
    const std::string bin =
        BinBuilder()
            .u8(0xFF)
            .u8('P')
            .str("Root")
            .u32(0)
            .u32(1)
            .u8(0xFF)
            .u8('P')
            .str(rule.binary, static_cast<std::uint32_t>(utf8Chars(rule.binary)))
            .u32(0)
            .u32(0)
            .u8(0xFF)
            .u8('p')
            .ref(1)
            .u8(0xFF)
            .u8('p')
            .ref(0)
            .bytes();
    auto xml = binToXml(bin);
    if (rule.xml.empty()) {
      ASSERT_FALSE(xml.ok());
      EXPECT_NE(xml.error().reason.find(rule.back), std::string::npos) << xml.error().reason;
      continue;
    }
    ASSERT_TRUE(xml.ok()) << xml.error().message();
    EXPECT_NE(xml.value().find("\r\n\t<" + std::string(rule.xml) + "/>\r\n"), std::string::npos)
        << xml.value();
    const std::string back = toBin(xml.value());
    auto doc = decode(back);  // views into `back`
    ASSERT_TRUE(doc.ok());
    EXPECT_EQ(doc.value().str(doc.value().nodes[1].name()), rule.back);
  }
}

}  // namespace
}  // namespace serz
