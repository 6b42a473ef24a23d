// XML to binary read in pieces: the same binary and the same errors, at the
// same line and column, whatever the pieces; strings with NUL and other
// control characters kept byte for byte both ways.

#include "ConverterTestSupport.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace serz {
namespace {

using namespace serz::testing;

// Hands out the text `chunk` bytes at a time; can fail on request.
class ChunkSource final : public TextSource {
 public:
  using TextSource::TextSource;
  std::ptrdiff_t read(char* to, std::size_t n) override {
    if (failAt_ != std::string_view::npos && position() >= failAt_) return -1;
    return TextSource::read(to, n);
  }
  void failAt(std::size_t offset) { failAt_ = offset; }

 private:
  std::size_t failAt_ = std::string_view::npos;
};

Result<std::string> streamed(std::string_view xml, std::size_t chunk) {
  ChunkSource source(xml, chunk);
  return xmlToBin(source, xml.size());
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(StreamedReader, GivesTheSameBinaryForAnyPieceSize) {
  std::vector<std::string> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(fixtureDir("serz")))
    if (entry.path().extension() == ".xml") inputs.push_back(readFile(entry.path()));
  ASSERT_FALSE(inputs.empty());
  // Comments, CDATA, references and CR LF cut at every byte.
  inputs.push_back(
      "<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [<!ENTITY e \"x\">]>\r\n<Root><!-- & -->"
      "<s d:type=\"cDeltaString\">a&amp;<![CDATA[<&>]]>&#x00FC;\r\nb</s><?pi ?>"
      "<a d:numElements='2' d:elementType='sInt8'>1\r\n2</a></Root>\r\n");
  for (const std::string& xml : inputs) {
    const std::string whole = toBin(xml);
    ASSERT_FALSE(whole.empty());
    for (std::size_t chunk : {1u, 3u, 7u, 4096u}) {
      auto bin = streamed(xml, chunk);
      ASSERT_TRUE(bin.ok()) << chunk << ": " << bin.error().message();
      EXPECT_EQ(bin.value(), whole) << "piece size " << chunk;
    }
  }
}

TEST(StreamedReader, ErrorsNameTheSameLineAndColumn) {
  struct Case {
    std::string xml;
    int line, column;
    std::string_view reason;
  };
  const std::vector<Case> cases = {
      // Columns count characters: the two-byte letters before the fault
      // may be cut between pieces.
      {"<Root><x d:type=\"cDeltaString\">\xC3\x84\xC3\x96</x>\r\n<y d:type=\"cDeltaString\">"
       "\xC3\xA4\xC3\xB6</y><v d:type=\"sInt8\">300</v></Root>",
       2, 50, "does not fit sInt8"},
      {"<Root>\r\n\r\n<a>\n</b></Root>", 4, 3, "malformed XML"},
      {"<Root>\r<v d:type=\"cDeltaString\">x&bad;</v></Root>", 2, 27, "undefined entity"},
      {"<Root>\n<v d:type=\"cDeltaString\">ok\xFF</v></Root>", 2, 28, "not valid UTF-8"},
      {"<Root>\n<a>\n", 3, 1, "malformed XML"},
      {"\n\n<!-- only -->", 3, 13, "No document element"},
      {"<Root/>\n<Second/>", 2, 1, "second root element"},
  };
  for (const Case& c : cases) {
    for (std::size_t chunk : {0u, 1u, 3u}) {
      auto bin = chunk ? streamed(c.xml, chunk) : xmlToBin(c.xml);
      ASSERT_FALSE(bin.ok()) << c.xml;
      EXPECT_EQ(bin.error().at, Error::At::LineColumn);
      EXPECT_EQ(bin.error().line, c.line) << c.xml << " in pieces of " << chunk;
      EXPECT_EQ(bin.error().column, c.column) << c.xml << " in pieces of " << chunk;
      EXPECT_NE(bin.error().reason.find(c.reason), std::string::npos) << bin.error().reason;
    }
  }
}

TEST(StreamedReader, InputThatCannotBeReadIsAnErrorWithoutPosition) {
  const std::string xml = canonicalXml({"<v d:type=\"sInt32\">1</v>"});
  ChunkSource source(xml, 16);
  source.failAt(32);
  auto bin = xmlToBin(source, 0);
  ASSERT_FALSE(bin.ok());
  EXPECT_EQ(bin.error().at, Error::At::Nowhere);
  EXPECT_NE(bin.error().reason.find("could not be read"), std::string::npos);
}

// A blob whose hex text is larger than the reader's window of a few
// megabytes: the window grows to hold the element.
TEST(StreamedReader, AnElementLargerThanTheWindowIsReadWhole) {
  std::string bytes(3u << 20, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + (i >> 9));
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(1)
                              .u8(0xFF)
                              .u8('B')
                              .u32(static_cast<std::uint32_t>(bytes.size()))
                              .raw(bytes)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  ASSERT_GT(xml.size(), 6u << 20);
  auto back = streamed(xml, 1u << 16);
  ASSERT_TRUE(back.ok()) << back.error().message();
  EXPECT_TRUE(back.value() == bin);
}

// Past 65,535 table entries new strings are written out in full each time;
// the streamed reader then stops keeping them, and must write the same
// bytes as encoding a document that kept them all.
TEST(StringTable, PastItsLimitStreamingWritesWhatTheWholeDocumentWrites) {
  std::string xml = "<Root>\n";
  for (int i = 0; i < 70000; ++i)
    xml += "<s d:type=\"cDeltaString\">v" + std::to_string(i) + "</s>\n";
  for (int i : {0, 65000, 69999, 69999}) {  // early strings by index, late ones in full
    xml += "<s d:type=\"cDeltaString\">v" + std::to_string(i) + "</s>\n";
    xml += "<l d:numElements=\"1\" d:elementType=\"cDeltaString\">v" + std::to_string(i) + "</l>\n";
  }
  xml += "</Root>\n";
  auto doc = readXml(xml);
  ASSERT_TRUE(doc.ok()) << doc.error().message();
  auto kept = encode(doc.value());
  ASSERT_TRUE(kept.ok());
  EXPECT_TRUE(toBin(xml) == kept.value());
  auto inPieces = streamed(xml, 4096);
  ASSERT_TRUE(inPieces.ok());
  EXPECT_TRUE(inPieces.value() == kept.value());
}

// The simulator's converter writes a NUL or another control character in a
// string into its XML as it is and reads it back; so do we. Tabs and line
// breaks stay character references, which line-end handling cannot change.
TEST(ControlCharacters, NulAndControlsGoIntoTheXmlAsTheyAreAndComeBack) {
  const std::string value("Zug\0 f\xC3\xBCr\x01\x1F\x7F\tEnde", 16);
  const std::string bin = BinBuilder()
                              .u8(0xFF)
                              .u8('P')
                              .str("Root")
                              .u32(0)
                              .u32(2)
                              .u8(0xFF)
                              .u8('V')
                              .str("Name")
                              .str("cDeltaString")
                              .str(value, 15)
                              .u8(0x01)  // the same shape again: the string by index
                              .ref(2)
                              .u8(0xFF)
                              .u8('p')
                              .ref(0)
                              .bytes();
  const std::string xml = toXml(bin);
  EXPECT_NE(xml.find(std::string("Zug\0 f\xC3\xBCr\x01\x1F\x7F&#9;Ende", 19)), std::string::npos)
      << xml;
  EXPECT_TRUE(toBin(xml) == bin);
  for (std::size_t chunk : {1u, 5u}) {
    auto back = streamed(xml, chunk);
    ASSERT_TRUE(back.ok()) << back.error().message();
    EXPECT_TRUE(back.value() == bin) << "piece size " << chunk;
  }
  // A document read whole keeps the bytes too (the editor's way).
  auto doc = readXml(xml);
  ASSERT_TRUE(doc.ok());
  EXPECT_EQ(doc.value().str(doc.value().nodes[1].bits()), value);
}

}  // namespace
}  // namespace serz
