#include "texture/NumberBase.h"

#include <gtest/gtest.h>

namespace vantrel::texture {
namespace {

using Reason = NumberBaseError::Reason;

Reason failureOf(auto&& call) {
  try {
    call();
  } catch (const NumberBaseError& error) {
    return error.reason();
  }
  ADD_FAILURE() << "no NumberBaseError";
  return Reason::NotANumber;
}

TEST(Hex2Dec, ReadsEitherCaseCountsAForeignCharacterAsMinusOneAndOverflows) {
  EXPECT_EQ(Hex2Dec("7C"), 124);
  EXPECT_EQ(Hex2Dec("ff"), 255);
  EXPECT_EQ(Hex2Dec(""), 0);
  EXPECT_EQ(Hex2Dec("1G"), 15);
  EXPECT_EQ(Hex2Dec("7FFFFFFF"), 2147483647);
  EXPECT_EQ(failureOf([] { Hex2Dec("80000000"); }), Reason::Overflow);
  EXPECT_EQ(failureOf([] { Hex2Dec(std::string(300, '0')); }), Reason::Overflow);
}

TEST(Dec2Hex, GivesUpperCaseWithoutLeadingZerosOrMinusOne) {
  const std::pair<DecimalIn, std::string> cases[] = {{0, ""},          {64, "40"}, {4096, "1000"},
                                                     {65536, "10000"}, {2.9, "2"}, {" 255 ", "FF"}};
  for (const auto& [in, hex] : cases)
    EXPECT_EQ(std::get<std::string>(Dec2Hex(in)), hex) << in.asText();
  EXPECT_EQ(std::get<std::int16_t>(Dec2Hex(std::string(29, '1'))), -1);
  EXPECT_EQ(failureOf([] { Dec2Hex(-1); }), Reason::Negative);
  EXPECT_EQ(failureOf([] { Dec2Hex("12a"); }), Reason::NotANumber);
}

TEST(Dec2BinAndBin2Hex, PadAndReportTheirErrorTexts) {
  EXPECT_EQ(Dec2Bin(5), "101");
  EXPECT_EQ(Dec2Bin(5, 8), "00000101");
  EXPECT_EQ(Dec2Bin(256, 8), kExceedsBitsText);
  EXPECT_EQ(Bin2Hex("101"), "5");
  EXPECT_EQ(Bin2Hex("00001111"), "0F");
  EXPECT_EQ(Bin2Hex("102"), kNotBinaryText);
}

}  // namespace
}  // namespace vantrel::texture
