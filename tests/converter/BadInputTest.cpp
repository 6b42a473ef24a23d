// Bad input gives an error with a position and a reason, never a crash.

#include "ConverterTestSupport.h"

#include <algorithm>

namespace serz {
namespace {

using namespace serz::testing;

void expectBinError(const std::string& bin, std::size_t offset, std::string_view reasonPart) {
  auto xml = binToXml(bin);
  ASSERT_FALSE(xml.ok()) << "accepted: " << hex(bin);
  EXPECT_EQ(xml.error().at, Error::At::Byte);
  EXPECT_EQ(xml.error().offset, offset) << xml.error().reason;
  EXPECT_EQ(xml.error().line, 0);
  EXPECT_NE(xml.error().reason.find(reasonPart), std::string::npos) << xml.error().reason;
}

void expectXmlError(const std::string& xml, int line, int column, std::string_view reasonPart) {
  auto bin = xmlToBin(xml);
  ASSERT_FALSE(bin.ok()) << "accepted: " << xml;
  EXPECT_EQ(bin.error().at, Error::At::LineColumn);
  EXPECT_EQ(bin.error().line, line) << bin.error().reason;
  EXPECT_EQ(bin.error().column, column) << bin.error().reason;
  EXPECT_NE(bin.error().reason.find(reasonPart), std::string::npos) << bin.error().reason;
}

BinBuilder rootOpen(std::uint32_t children) {
  BinBuilder b;
  b.u8(0xFF).u8('P').str("Root").u32(0).u32(children);  // ends at byte 28
  return b;
}

TEST(BadBinary, HeaderProblems) {
  expectBinError("", 0, "SERZ");
  expectBinError("SERZ\0\0", 0, "SERZ");
  expectBinError(std::string("SERX\0\0\1\0", 8), 0, "SERZ");
  expectBinError(std::string("SERZ\0\0\2\0", 8), 4, "version");
  expectBinError(std::string("SERZ\0\0\1\0", 8), 8, "no root element");
}

TEST(BadBinary, TruncatedRecordsAndLengthsPastTheEnd) {
  const std::string whole =
      rootOpen(1).u8(0xFF).u8('V').str("v").str("sInt32").u32(5).u8(0xFF).u8('p').ref(0).bytes();
  // Cut inside the sInt32 payload (starts at 28 + 2 + 7 + 12 = 49).
  expectBinError(whole.substr(0, 51), 49, "truncated record");
  // Cut inside the root's child count.
  expectBinError(whole.substr(0, 26), 24, "truncated record");
  // Ends before the root closes.
  expectBinError(whole.substr(0, whole.size() - 4), whole.size() - 4,
                 "ends inside element \"Root\"");
  // A string length far beyond the file: refused without allocating it.
  expectBinError(rootOpen(1).u8(0xFF).u8('V').u16(0xFFFF).u32(0xFFFFFFF0).bytes(), 30,
                 "runs past the end");
  // A length in characters that the UTF-8 bytes do not reach.
  expectBinError(rootOpen(1).u8(0xFF).u8('V').str("Z\xC3\xBC", 3).bytes(), 30, "runs past the end");
  expectBinError(rootOpen(1).u8(0xFF).u8('B').u32(1000).raw("abc").bytes(), 30,
                 "blob size 1000 runs past the end");
}

TEST(BadBinary, UnknownTypesCommandsSlotsAndStrings) {
  expectBinError(rootOpen(1).u8(0xFF).u8('V').str("v").str("sInt33").u32(0).bytes(), 37,
                 "unknown type name \"sInt33\"");
  expectBinError(rootOpen(1).u8(0xFF).u8('Q').bytes(), 29, "unknown record type 0x51");
  expectBinError(rootOpen(1).u8(0x05).bytes(), 28, "cache slot 5 is not yet defined");
  expectBinError(rootOpen(1).u8(0xFF).u8('p').ref(3).bytes(), 30,
                 "string index 3 is not yet defined");
  expectBinError(rootOpen(1).u8(0xFF).u8('V').str("a\xFF").bytes(), 37, "not valid UTF-8");
  expectBinError(rootOpen(1).u8(0xFF).u8('V').str(std::string("a\0b", 3)).bytes(), 37, "NUL");
}

// The tree follows the open and close records (child counts are not relied
// on; see RealKindsTest), so what is refused is a tree that does not close.
TEST(BadBinary, TreeStructureMustBeConsistent) {
  expectBinError(rootOpen(0).u8(0xFF).u8('p').str("Other").bytes(), 28,
                 "does not match the open element \"Root\"");
  expectBinError(rootOpen(0).u8(0xFF).u8('p').ref(0).u8(0x00).u32(0).u32(0).bytes(), 32,
                 "open record after the root element closed");
  expectBinError(rootOpen(0).u8(0xFF).u8('p').ref(0).u8(0xFF).u8('C').u8(0).u32(0).bytes(), 32,
                 "prefix record after the root element closed");
  expectBinError(BinBuilder().u8(0xFF).u8('N').bytes(), 8, "nil record outside any element");
  expectBinError(BinBuilder().u8(0xFF).u8('p').str("Root").bytes(), 8,
                 "close record outside any element");
}

TEST(BadBinary, NamesThatXmlCannotCarryAreRefused) {
  expectBinError(rootOpen(1).u8(0xFF).u8('P').str("two words").bytes(), 30, "not a valid XML name");
  expectBinError(rootOpen(1).u8(0xFF).u8('P').str("a:b").bytes(), 30,
                 "':' that is not part of a \"::\"");
  expectBinError(rootOpen(1).u8(0xFF).u8('P').str("::a").bytes(), 30,
                 "':' that is not part of a \"::\"");
  expectBinError(rootOpen(1)
                     .u8(0xFF)
                     .u8('A')
                     .str("list")
                     .str("cDeltaString")
                     .u8(2)
                     .str("ok")
                     .str("not ok")
                     .bytes(),
                 67, "white space");
}

TEST(BadBinary, DeepNestingIsRefused) {
  BinBuilder b;
  b.u8(0xFF).u8('P').str("a").u32(0).u32(1);
  for (int i = 1; i < kMaxDepth; ++i) b.u8(0x00).u32(0).u32(1);
  expectBinError(b.u8(0x00).u32(0).u32(1).bytes(), b.size(), "nested deeper");
}

TEST(BadXml, MalformedXmlNamesLineAndColumn) {
  expectXmlError("<?xml version=\"1.0\"?>\n<Root>\n\t<a d:type=\"sInt32\">1</b>\n</Root>\n", 3, 24,
                 "malformed XML");
  expectXmlError("", 1, 1, "malformed XML");
  expectXmlError("<?xml version=\"1.0\"?>\n<!-- nothing -->\n", 2, 17, "malformed XML");
  expectXmlError("<Root/><Second/>", 1, 8, "second root element");
  expectXmlError("<Root>\n  <v d:type=\"sInt33\">1</v></Root>", 2, 14,
                 "unknown type name \"sInt33\"");
  expectXmlError("<Root>\n<a>text<b/></a></Root>", 2, 4, "text inside \"a\"");
  expectXmlError("<Root><v d:type=\"sInt32\">1<b/></v></Root>", 1, 27,
                 "inside \"v\", which holds a value");
  expectXmlError("<Root><d:thing/></Root>", 1, 7, "unknown element");
  expectXmlError("<Root><v d:type=\"cDeltaString\">Z\xFCrich</v></Root>", 1, 33, "not valid UTF-8");
  expectXmlError("<Root><v d:type=\"cDeltaString\">a&#xD800;</v></Root>", 1, 33, "not valid UTF-8");
  // Character references that would cut the text short at a NUL.
  expectXmlError("<Root>\n<v d:type=\"cDeltaString\">a&#0;b</v></Root>", 2, 27, "NUL");
  expectXmlError("<Root><v d:type=\"cDeltaString\">a&#4294967296;b</v></Root>", 1, 33,
                 "past U+10FFFF");
}

TEST(BadXml, ValuesThatDoNotFitTheirType) {
  const auto value = [](std::string_view type, std::string_view text) {
    return "<Root>\n<v d:type=\"" + std::string(type) + "\">" + std::string(text) + "</v>\n</Root>";
  };
  expectXmlError(value("sInt8", "128"), 2, 19, "\"128\" does not fit sInt8");
  expectXmlError(value("sUInt8", "-1"), 2, 20, "does not fit sUInt8");
  expectXmlError(value("sUInt64", "18446744073709551616"), 2, 21, "does not fit sUInt64");
  expectXmlError(value("sInt32", "12.5"), 2, 20, "is not a number for sInt32");
  expectXmlError(value("bool", "256"), 2, 18, "does not fit bool");
  expectXmlError(value("sFloat32", "1e39"), 2, 22, "does not fit sFloat32");
  expectXmlError(value("sFloat32", "abc"), 2, 22, "is not a number");
  expectXmlError(value("ref", "4294967296"), 2, 17, "does not fit ref");
  expectXmlError(value("ref", "-2147483649"), 2, 17, "does not fit ref");
  expectXmlError("<Root d:id=\"-2147483649\"/>", 1, 13, "does not fit d:id");
  expectXmlError("<Root d:id=\"x\"/>", 1, 13, "not a number for d:id");
  expectXmlError("<Root><f d:type=\"sFloat64\" d:alt_encoding=\"12\">1</f></Root>", 1, 44,
                 "d:alt_encoding");
}

TEST(BadXml, ArraysAndBlobsMustMatchTheirCounts) {
  expectXmlError("<Root><a d:numElements=\"3\" d:elementType=\"sInt8\">1 2</a></Root>", 1, 50,
                 "says 3 but the text holds 2");
  expectXmlError("<Root><a d:numElements=\"1\" d:elementType=\"sInt8\">1 2</a></Root>", 1, 50,
                 "holds more");
  expectXmlError("<Root><a d:numElements=\"256\" d:elementType=\"sInt8\"></a></Root>", 1, 25,
                 "does not fit d:numElements");
  expectXmlError("<Root><a d:numElements=\"2\" d:elementType=\"sInt8\">1 x</a></Root>", 1, 52,
                 "\"x\" is not a number");
  expectXmlError("<Root><d:blob d:size=\"2\">00 11 22</d:blob></Root>", 1, 26, "holds more");
  expectXmlError("<Root><d:blob d:size=\"4000000000\">00</d:blob></Root>", 1, 35,
                 "says 4000000000 bytes but the data holds 1");
  expectXmlError("<Root><d:blob d:size=\"1\">0</d:blob></Root>", 1, 26, "half a byte");
  expectXmlError("<Root><d:blob d:size=\"1\">0g</d:blob></Root>", 1, 27, "not a hex digit");
}

TEST(BadXml, NamesThatTheBinaryCannotCarryAreRefused) {
  expectXmlError("<Root><a:b/></Root>", 1, 7, "':'");
  expectXmlError("<Root><e d:id=\"1\"><d:nil>x</d:nil></e></Root>", 1, 26, "text inside \"d:nil\"");
  expectXmlError("<Root d:type=\"sInt32\">1</Root>", 1, 1, "root element");
}

// The parser would keep an unknown reference as text; it is refused with
// its position instead. In comments and CDATA an '&' is an ordinary character.
TEST(BadXml, UndefinedEntityReferencesAreRefused) {
  expectXmlError("<Root>\n<v d:type=\"cDeltaString\">a &xxe; b</v></Root>", 2, 28,
                 "undefined entity reference \"&xxe;\"");
  expectXmlError("<Root>\n<v d:type=\"cDeltaString\">a &amp b</v></Root>", 2, 28,
                 "does not start an entity reference");
  expectXmlError("<Root d:id=\"&one;\"/>", 1, 13, "undefined entity reference");
  expectXmlError(
      "<!DOCTYPE r [<!ENTITY e \"&#38;\">]>\n<Root><v d:type=\"cDeltaString\">&e;</v></Root>", 2,
      32, "undefined entity reference \"&e;\"");
  expectXmlError("<Root><v d:type=\"cDeltaString\">&#x110000;</v></Root>", 1, 32, "past U+10FFFF");
  expectXmlError("<Root><v d:type=\"cDeltaString\">&#;</v></Root>", 1, 32, "without its digits");
  // A bad reference after the point where parsing fails: the parse error is first.
  expectXmlError("<Root>\n<a></b>\n<v d:type=\"cDeltaString\">&xxe;</v></Root>", 2, 6,
                 "malformed XML");
  const std::string fine = toBin(
      "<Root><!-- a & b --><v d:type=\"cDeltaString\"><![CDATA[x & y]]>&amp;&lt;&#38;&#x26;</v>"
      "<?pi & ?></Root>");
  EXPECT_NE(fine.find("x & y&<&&"), std::string::npos);
}

// Positions count lines ended by CR LF, LF or a lone CR, and columns in
// characters of the original text, before references and line ends were
// decoded.
TEST(BadXml, PositionsAreThoseOfTheOriginalText) {
  expectXmlError("<Root>\r<v d:type=\"sInt8\">300</v>\r</Root>", 2, 19, "does not fit sInt8");
  expectXmlError("<Root>\r\n\r\n<v d:type=\"sInt8\">300</v>\r\n</Root>", 3, 19,
                 "does not fit sInt8");
  expectXmlError("<Root>\n<a d:numElements=\"3\" d:elementType=\"sInt8\">&#49; &#x32; x</a></Root>",
                 2, 57, "\"x\" is not a number");
  expectXmlError("<Root>\r\n<d:blob d:size=\"9\">0011223344556677\r\n88 9</d:blob></Root>", 3, 4,
                 "half a byte");
  expectXmlError("<Root>\r\n<d:blob d:size=\"9\">0011223344556677\r\n88 9g</d:blob></Root>", 3, 5,
                 "not a hex digit");
  expectXmlError("<Root>\n<v d:type=\"cDeltaString\">&amp;\xFF</v></Root>", 2, 31,
                 "not valid UTF-8");
}

// A Document handed to encode() or writeXml() names the failing record.
TEST(BadDocument, FailuresNameTheRecord) {
  Document doc;
  doc.strings = {"Root"};
  doc.nodes = {Node::open(0, 0, 1), Node::array(0, ValueType::SInt8, 3, 0), Node::close(0)};
  for (const auto& result : {encode(doc).error(), writeXml(doc).error()}) {
    EXPECT_EQ(result.at, Error::At::Record);
    EXPECT_EQ(result.position(), "record 1");
    EXPECT_NE(result.reason.find("elements that do not exist"), std::string::npos) << result.reason;
  }
}

// Input text in a message has its control characters written as \xHH, so a
// message is one line and sends no escape sequence to a terminal.
TEST(BadInput, ControlCharactersInQuotedInputAreEscaped) {
  const auto reasonOf = [](const auto& result) {
    EXPECT_FALSE(result.ok());
    return result.ok() ? std::string() : result.error().reason;
  };
  const std::pair<std::string, std::string> cases[] = {
      // An element name holding a screen-clearing sequence and a line break.
      {reasonOf(binToXml(rootOpen(1).u8(0xFF).u8('P').str("a\x1B[2J\r\nb").bytes())),
       "\"a\\x1B[2J\\x0D\\x0Ab\" is not a valid XML name"},
      {reasonOf(binToXml(rootOpen(1).u8(0xFF).u8('P').str("a:\x7F").bytes())),
       "\"a:\\x7F\" has a ':'"},
      // U+009B, the one-character form of the escape sequence's start.
      {reasonOf(binToXml(rootOpen(1).u8(0xFF).u8('V').str("v").str("s\xC2\x9BInt", 5).bytes())),
       "unknown type name \"s\\xC2\\x9BInt\""},
      {reasonOf(binToXml(rootOpen(1)
                             .u8(0xFF)
                             .u8('A')
                             .str("list")
                             .str("cDeltaString")
                             .u8(1)
                             .str("tab\there")
                             .bytes())),
       "the string \"tab\\x09here\""},
      {reasonOf(xmlToBin("<Root><v d:type=\"sInt32\">1\x07</v></Root>")),
       "\"1\\x07\" is not a number for sInt32"},
      // Non-ASCII text that is no control stays as it is.
      {reasonOf(
           binToXml(rootOpen(1).u8(0xFF).u8('V').str("v").str("Z\xC3\xBC\xC2\xA0", 3).bytes())),
       "unknown type name \"Z\xC3\xBC\xC2\xA0\""},
  };
  for (const auto& [reason, part] : cases) {
    EXPECT_NE(reason.find(part), std::string::npos) << reason;
    EXPECT_EQ(
        std::count_if(reason.begin(), reason.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
        0)
        << reason;
  }
}

TEST(BadXml, DeepNestingIsRefused) {
  std::string xml;
  for (int i = 0; i <= kMaxDepth; ++i) xml += "<a>";
  for (int i = 0; i <= kMaxDepth; ++i) xml += "</a>";
  expectXmlError(xml, 1, 3 * kMaxDepth + 1, "nested deeper");
}

}  // namespace
}  // namespace serz
