#include "texture/NumberBase.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::texture {
namespace {

using Reason = NumberBaseError::Reason;

Reason reasonOf(auto&& call) {
  try {
    call();
  } catch (const NumberBaseError& error) {
    return error.reason();
  }
  ADD_FAILURE() << "no NumberBaseError was thrown";
  return Reason::NotANumber;
}

std::string hexText(const DecimalIn& in) {
  const auto result = Dec2Hex(in);
  EXPECT_TRUE(std::holds_alternative<std::string>(result));
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : std::string("<-1>");
}

TEST(Hex2Dec, ReadsDigitsOfEitherCase) {
  EXPECT_EQ(Hex2Dec("7C"), 124);
  EXPECT_EQ(Hex2Dec("ff"), 255);
  EXPECT_EQ(Hex2Dec("00"), 0);
  EXPECT_EQ(Hex2Dec(""), 0);
  EXPECT_EQ(Hex2Dec("7FFFFFFF"), 2147483647);
  EXPECT_EQ(Hex2Dec(std::string(200, '0') + "1A"), 26);
}

TEST(Hex2Dec, CountsAForeignCharacterAsMinusOne) {
  EXPECT_EQ(Hex2Dec("1G"), 15);
  EXPECT_EQ(Hex2Dec("G0"), -16);
  EXPECT_EQ(Hex2Dec("\t"), -1);
}

TEST(Hex2Dec, OverflowReachesTheCaller) {
  EXPECT_EQ(reasonOf([] { Hex2Dec("80000000"); }), Reason::Overflow);
  EXPECT_EQ(reasonOf([] { Hex2Dec("100000000"); }), Reason::Overflow);
  EXPECT_EQ(reasonOf([] { Hex2Dec(std::string(300, '0')); }), Reason::Overflow);
  EXPECT_EQ(reasonOf([] { Hex2Dec(std::string(32768, '0')); }), Reason::Overflow);
}

TEST(Dec2Hex, GivesUpperCaseDigitsWithoutLeadingZeros) {
  EXPECT_EQ(hexText(0), "");
  EXPECT_EQ(hexText(64), "40");
  EXPECT_EQ(hexText(256), "100");
  EXPECT_EQ(hexText(4096), "1000");
  EXPECT_EQ(hexText(65536), "10000");
  EXPECT_EQ(hexText(std::int16_t{32767}), "7FFF");
  EXPECT_EQ(hexText(std::int32_t{2147483519}), "7FFFFF7F");
  EXPECT_EQ(hexText(2.9), "2");
  EXPECT_EQ(hexText("255"), "FF");
  EXPECT_EQ(hexText(" 4096.75 "), "1000");
  EXPECT_EQ(hexText("9999999999999999999999999999"), "204FCE5E3E2502610FFFFFFF");
}

TEST(Dec2Hex, GivesMinusOneForTwentyNineCharacters) {
  const auto result = Dec2Hex(std::string(29, '1'));
  ASSERT_TRUE(std::holds_alternative<std::int16_t>(result));
  EXPECT_EQ(std::get<std::int16_t>(result), -1);
  EXPECT_EQ(hexText(std::string(28, '1')).size(), 23u);
}

TEST(Dec2Hex, RefusesNegativeAndUnreadableInput) {
  EXPECT_EQ(reasonOf([] { Dec2Hex(-1); }), Reason::Negative);
  EXPECT_EQ(reasonOf([] { Dec2Hex(-0.5); }), Reason::Negative);
  EXPECT_EQ(reasonOf([] { Dec2Hex("-7"); }), Reason::Negative);
  EXPECT_EQ(reasonOf([] { Dec2Hex("12a"); }), Reason::NotANumber);
  EXPECT_EQ(reasonOf([] { Dec2Hex(""); }), Reason::NotANumber);
  EXPECT_EQ(reasonOf([] { Dec2Hex(1e30); }), Reason::Overflow);
  EXPECT_EQ(hexText("-0"), "");
}

TEST(Dec2Bin, PadsOrRefusesWithTheBitCount) {
  EXPECT_EQ(Dec2Bin(5), "101");
  EXPECT_EQ(Dec2Bin(0), "");
  EXPECT_EQ(Dec2Bin(5, 8), "00000101");
  EXPECT_EQ(Dec2Bin(0, 4), "0000");
  EXPECT_EQ(Dec2Bin(255, 8), "11111111");
  EXPECT_EQ(Dec2Bin(256, 8), kExceedsBitsText);
  EXPECT_EQ(Dec2Bin("79228162514264337593543950335"), std::string(96, '1'));
  EXPECT_EQ(reasonOf([] { Dec2Bin("79228162514264337593543950336"); }), Reason::Overflow);
  EXPECT_EQ(reasonOf([] { Dec2Bin(-5, 8); }), Reason::Negative);
}

TEST(Bin2Hex, GroupsFourBitsFromTheRight) {
  EXPECT_EQ(Bin2Hex("101"), "5");
  EXPECT_EQ(Bin2Hex("100000000"), "100");
  EXPECT_EQ(Bin2Hex("00001111"), "0F");
  EXPECT_EQ(Bin2Hex("1010101111001101"), "ABCD");
  EXPECT_EQ(Bin2Hex(""), "");
  EXPECT_EQ(Bin2Hex("102"), kNotBinaryText);
  EXPECT_EQ(Bin2Hex(" 1"), kNotBinaryText);
}

}  // namespace
}  // namespace vantrel::texture
