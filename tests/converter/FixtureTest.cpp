// Files written by the simulator (the game, its texture compiler and its own
// converter) from ../shared/fixtures: every binary through both directions,
// compared with the simulator converter's XML where we have it.

#include "ConverterTestSupport.h"
#include "converter/Names.h"
#include "converter/TextFormat.h"
#include "platform/core/Files.h"

#include <bit>
#include <vector>

namespace serz {
namespace {

namespace fs = std::filesystem;
using namespace serz::testing;

std::string readFile(const fs::path& path) {
  std::string content;
  const auto failure = vantrel::files::readWhole(path.string(), content);
  EXPECT_FALSE(failure) << path << ": " << (failure ? failure->reason : "");
  return content;
}

class StringSink final : public ByteSink {
 public:
  bool write(std::string_view bytes) override {
    text += bytes;
    ++chunks;
    return true;
  }
  std::string text;
  int chunks = 0;
};

// Every binary of the fixture folders, with the converter's XML of it when
// one lies beside it ("X.bin" and "X.bin.xml"), and the converter's XML files
// that have no binary.
class RealFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"serz", "real"}) {
      const fs::path dir = fixtureDir(folder);
      if (!fs::is_directory(dir)) continue;
      for (const auto& entry : fs::directory_iterator(dir)) {
        const fs::path& p = entry.path();
        if (!entry.is_regular_file() || p.extension() == ".md") continue;
        if (p.extension() != ".xml") {
          binaries_.push_back(p);
        } else if (!fs::exists(fs::path(p).replace_extension())) {
          xmlOnly_.push_back(p);
        }
      }
    }
    if (binaries_.empty()) GTEST_SKIP() << "no fixture files under " << fixtureDir("").string();
  }

  static fs::path converterXml(const fs::path& bin) { return fs::path(bin.string() + ".xml"); }

  std::vector<fs::path> binaries_, xmlOnly_;
};

TEST_F(RealFiles, EveryBinaryConvertsToTheConvertersXml) {
  int compared = 0;
  for (const fs::path& bin : binaries_) {
    SCOPED_TRACE(bin.filename().string());
    const std::string xml = toXml(readFile(bin));
    ASSERT_FALSE(xml.empty());
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), std::count(xml.begin(), xml.end(), '\r'));
    if (fs::exists(converterXml(bin))) {
      EXPECT_EQ(withoutCR(xml), readFile(converterXml(bin)));
      ++compared;
    }
  }
  EXPECT_GE(compared, 1);
}

TEST_F(RealFiles, BinaryToXmlToBinaryToXmlGivesTheSameXml) {
  for (const fs::path& bin : binaries_) {
    SCOPED_TRACE(bin.filename().string());
    const std::string xml = toXml(readFile(bin));
    EXPECT_EQ(toXml(toBin(xml)), xml);
    if (fs::exists(converterXml(bin))) {
      EXPECT_EQ(toXml(toBin(readFile(converterXml(bin)))), xml);
    }
  }
}

TEST_F(RealFiles, ConvertersXmlWithoutItsBinaryComesBackUnchanged) {
  for (const fs::path& xmlFile : xmlOnly_) {
    SCOPED_TRACE(xmlFile.filename().string());
    const std::string xml = readFile(xmlFile);
    EXPECT_EQ(withoutCR(toXml(toBin(xml))), xml);
  }
}

// Every field of every record, one line each.
std::string describe(const Document& doc) {
  std::string out;
  const auto field = [&](std::string_view text) { out.append(1, ' ').append(text); };
  const auto number = [&](std::uint64_t v) { field(std::to_string(v)); };
  for (const Node& n : doc.nodes) {
    out.append(n.recordKind().noun);
    number(static_cast<unsigned>(n.type()));
    if (n.recordKind().hasName) field(doc.str(n.name()));
    switch (n.kind()) {
      case NodeKind::Open:
        number(n.id());
        number(n.childCount());
        break;
      case NodeKind::Value:
        if (n.type() == ValueType::String)
          field(doc.str(static_cast<std::uint32_t>(n.bits())));
        else
          number(n.bits());
        break;
      case NodeKind::Array:
        for (std::size_t k = 0; k < n.elementCount(); ++k)
          number(doc.elements[n.firstElement() + k]);
        break;
      case NodeKind::Prefix:
        number(n.prefixFlag());
        number(n.prefixValue());
        break;
      case NodeKind::Ref:
        number(n.id());
        break;
      case NodeKind::Blob:
        field(hex(doc.blobs[n.blobIndex()]));
        break;
      case NodeKind::Close:
      case NodeKind::Nil:
        break;
    }
    out += '\n';
  }
  return out;
}

// Game files sometimes spell out a record whose shape is already cached, so
// the bytes may differ; the records may not.
TEST_F(RealFiles, DecodeThenEncodeKeepsEveryRecord) {
  for (const fs::path& bin : binaries_) {
    SCOPED_TRACE(bin.filename().string());
    const std::string bytes = readFile(bin);
    auto doc = decode(bytes);
    ASSERT_TRUE(doc.ok()) << doc.error().message();
    auto again = encode(doc.value());
    ASSERT_TRUE(again.ok()) << again.error().message();
    auto redecoded = decode(again.value());
    ASSERT_TRUE(redecoded.ok()) << redecoded.error().message();
    EXPECT_TRUE(describe(redecoded.value()) == describe(doc.value()));
  }
}

TEST_F(RealFiles, StreamedAndInMemoryConversionsAgree) {
  for (const fs::path& bin : binaries_) {
    SCOPED_TRACE(bin.filename().string());
    const std::string bytes = readFile(bin);
    StringSink sink;
    auto written = binToXml(bytes, sink);
    ASSERT_TRUE(written.ok()) << written.error().message();
    EXPECT_EQ(written.value(), sink.text.size());
    const std::string xml = toXml(bytes);
    EXPECT_TRUE(sink.text == xml);
    // xmlToBin streams records into the encoder; readXml + encode keeps them.
    auto doc = readXml(xml);
    ASSERT_TRUE(doc.ok()) << doc.error().message();
    auto viaDocument = encode(doc.value());
    ASSERT_TRUE(viaDocument.ok());
    EXPECT_TRUE(viaDocument.value() == toBin(xml));
  }
}

// ---- an unchanged save keeps every value the game reads -----------------

// The binary name an element comes back with after XML.
std::string roundTripName(std::string_view name) {
  OutBuf xmlName;
  names::appendXmlName(xmlName, name);
  return names::toBinaryName(xmlName.take());
}

std::string arrayText(ValueType type, std::uint64_t bits) {
  OutBuf out;
  text::appendFixed7(out, type == ValueType::Float32
                              ? std::bit_cast<float>(static_cast<std::uint32_t>(bits))
                              : std::bit_cast<double>(bits));
  return out.take();
}

// The number of children each open record really has.
std::vector<std::uint32_t> realChildCounts(const Document& doc) {
  std::vector<std::uint32_t> counts(doc.nodes.size(), 0);
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < doc.nodes.size(); ++i) {
    const NodeKind kind = doc.nodes[i].kind();
    if (kind == NodeKind::Prefix) continue;
    if (kind == NodeKind::Close) {
      open.pop_back();
      continue;
    }
    if (!open.empty()) ++counts[open.back()];
    if (kind == NodeKind::Open) open.push_back(i);
  }
  return counts;
}

// `after` holds the records of `before` with only the changes an unchanged
// save makes: no prefix record, names as they come back from XML, bools as
// 0 or 1, child counts that count every child, and array floats that print
// the same seven decimals.
void expectSameRecords(const Document& before, const Document& after) {
  const std::vector<std::uint32_t> children = realChildCounts(before);
  std::size_t j = 0;
  for (std::size_t i = 0; i < before.nodes.size(); ++i) {
    const Node& a = before.nodes[i];
    if (a.kind() == NodeKind::Prefix) continue;
    ASSERT_LT(j, after.nodes.size());
    const Node& b = after.nodes[j++];
    SCOPED_TRACE("record " + std::to_string(i));
    ASSERT_EQ(a.kind(), b.kind());
    if (a.recordKind().hasName) {
      ASSERT_EQ(after.str(b.name()), roundTripName(before.str(a.name())));
    }
    ASSERT_EQ(a.type(), b.type());
    switch (a.kind()) {
      case NodeKind::Open:
        ASSERT_EQ(a.id(), b.id());
        ASSERT_EQ(b.childCount(), children[i]);
        break;
      case NodeKind::Value:
        if (a.type() == ValueType::String) {
          ASSERT_EQ(before.str(a.bits()), after.str(b.bits()));
        } else if (a.type() == ValueType::Bool) {
          ASSERT_EQ(b.bits(), a.bits() != 0 ? 1u : 0u);
        } else {
          ASSERT_EQ(a.bits(), b.bits());
        }
        break;
      case NodeKind::Array:
        ASSERT_EQ(a.elementCount(), b.elementCount());
        for (std::size_t k = 0; k < a.elementCount(); ++k) {
          const std::uint64_t x = before.elements[a.firstElement() + k],
                              y = after.elements[b.firstElement() + k];
          if (isFloat(a.type())) {
            ASSERT_EQ(arrayText(a.type(), x), arrayText(a.type(), y));
          } else if (a.type() == ValueType::String) {
            ASSERT_EQ(before.str(static_cast<std::uint32_t>(x)),
                      after.str(static_cast<std::uint32_t>(y)));
          } else {
            ASSERT_EQ(x, y);
          }
        }
        break;
      case NodeKind::Ref:
        ASSERT_EQ(a.id(), b.id());
        break;
      case NodeKind::Blob:
        ASSERT_TRUE(before.blobs[a.blobIndex()] == after.blobs[b.blobIndex()]);
        break;
      case NodeKind::Close:
      case NodeKind::Nil:
      case NodeKind::Prefix:
        break;
    }
  }
  EXPECT_EQ(j, after.nodes.size());
}

TEST_F(RealFiles, AnUnchangedFileKeepsEveryValueTheGameReads) {
  for (const fs::path& bin : binaries_) {
    SCOPED_TRACE(bin.filename().string());
    const std::string bytes = readFile(bin);
    const std::string saved = toBin(toXml(bytes));
    auto before = decode(bytes);
    auto after = decode(saved);
    ASSERT_TRUE(before.ok() && after.ok());
    expectSameRecords(before.value(), after.value());
  }
}

// Files the simulator's converter wrote from XML carry nothing the XML
// lacks, so they come back byte for byte.
TEST(ConverterWrittenFiles, ComeBackByteForByte) {
  const std::vector<fs::path> files = {
      fixtureDir("serz") / "ScenaryItem.bin", fixtureDir("real") / "ScenarioAfterSerz.bin",
      fixtureDir("real") / "ScenarioNetworkPropertiesAfterSerz.bin"};
  for (const fs::path& file : files) {
    if (!fs::exists(file)) GTEST_SKIP() << file.string() << " is absent";
    SCOPED_TRACE(file.filename().string());
    const std::string bytes = readFile(file);
    EXPECT_EQ(hex(toBin(toXml(bytes))), hex(bytes));
  }
}

TEST(ConverterWrittenFiles, AnEditedValueSurvivesTheRoundTrip) {
  const fs::path file = fixtureDir("serz") / "ScenaryItem.bin";
  if (!fs::exists(file)) GTEST_SKIP() << file.string() << " is absent";
  std::string xml = toXml(readFile(file));
  const std::string before = "<English d:type=\"cDeltaString\">AP Tree Near Beech 1</English>";
  const auto at = xml.find(before);
  ASSERT_NE(at, std::string::npos);
  xml.replace(at, before.size(), "<English d:type=\"cDeltaString\">AP Tree Far Oak 2</English>");
  const std::string again = toXml(toBin(xml));
  EXPECT_EQ(again, xml);
  EXPECT_NE(again.find("AP Tree Far Oak 2"), std::string::npos);
}

}  // namespace
}  // namespace serz
