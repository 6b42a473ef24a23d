// The two fixture pairs written by the simulator's own converter.

#include "ConverterTestSupport.h"
#include "converter/FileIo.h"

#include <filesystem>

namespace serz {
namespace {

using namespace serz::testing;

const std::filesystem::path kFixtures = std::filesystem::path(VANTREL_SHARED_DIR) / "fixtures" / "serz";

std::string readFixture(const std::string& name) {
    std::string content, error;
    EXPECT_TRUE(io::readFile((kFixtures / name).string(), content, error)) << name << ": " << error;
    return content;
}

std::string withoutCR(std::string s) {
    std::erase(s, '\r');
    return s;
}

class FixturePair : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(kFixtures))
            GTEST_SKIP() << "fixture folder " << kFixtures.string() << " is absent";
        bin_ = readFixture(GetParam() + ".bin");
        xml_ = readFixture(GetParam() + ".bin.xml");
    }
    std::string bin_, xml_;
};

TEST_P(FixturePair, BinaryToXmlMatchesTheConvertersXmlApartFromLineEnds) {
    const std::string xml = toXml(bin_);
    EXPECT_EQ(withoutCR(xml), xml_);
    // Every line ends in CR LF.
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), std::count(xml.begin(), xml.end(), '\r'));
}

TEST_P(FixturePair, XmlToBinaryToXmlGivesTheSameXml) {
    const std::string xml = toXml(bin_);
    EXPECT_EQ(toXml(toBin(xml_)), xml);
    EXPECT_EQ(toXml(toBin(xml)), xml);
}

TEST_P(FixturePair, XmlToBinaryEqualsTheOriginalWithoutItsPrefixRecord) {
    // The prefix record has no XML form; everything else is rebuilt exactly.
    auto doc = decode(bin_);
    ASSERT_TRUE(doc.ok()) << doc.error().reason;
    std::erase_if(doc.value().nodes, [](const Node& n) { return n.kind == NodeKind::Prefix; });
    auto expected = encode(doc.value());
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(hex(toBin(xml_)), hex(expected.value()));
}

TEST_P(FixturePair, StreamingAndDocumentPathsAgree) {
    // xmlToBin streams records into the encoder; readXml + encode keeps them.
    auto doc = readXml(xml_);
    ASSERT_TRUE(doc.ok());
    auto viaDocument = encode(doc.value());
    ASSERT_TRUE(viaDocument.ok());
    EXPECT_EQ(hex(viaDocument.value()), hex(toBin(xml_)));
}

TEST_P(FixturePair, DecodeThenEncodeGivesTheOriginalBytes) {
    auto doc = decode(bin_);
    ASSERT_TRUE(doc.ok()) << doc.error().reason;
    auto again = encode(doc.value());
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(hex(again.value()), hex(bin_));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixturePair, ::testing::Values("ScenaryItem", "ScenarioNetworkProperties"));

TEST(Fixtures, ScenaryItemXmlToBinaryIsByteExact) {
    if (!std::filesystem::is_directory(kFixtures)) GTEST_SKIP() << "fixture folder is absent";
    EXPECT_EQ(hex(toBin(readFixture("ScenaryItem.bin.xml"))), hex(readFixture("ScenaryItem.bin")));
}

TEST(Fixtures, AnEditedValueSurvivesTheRoundTrip) {
    if (!std::filesystem::is_directory(kFixtures)) GTEST_SKIP() << "fixture folder is absent";
    std::string xml = toXml(readFixture("ScenaryItem.bin"));
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
