// Number text must match the C library's printf forms the XML dialect uses.

#include "converter/TextFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

namespace serz {
namespace {

std::string formatted(void (*append)(OutBuf&, double), double v) {
    OutBuf out;
    append(out, v);
    return out.take();
}

std::string printfText(const char* format, double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(NumberText, MatchesPrintfForInterestingAndRandomFloats) {
    std::vector<double> values = {0.0, -0.0, 1.0, 7.4525f, 0.984314f, 170.72244f, 2472.16f, 68400.0f, 0.08f,
                                  FLT_MAX, FLT_MIN, 1e-45f, 1e-4, 9.99999e-5, 999999.5, 1e6, 123456789.0,
                                  -0.5724627f, DBL_MAX, std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    std::mt19937 rng(42);
    for (int i = 0; i < 20000; ++i) {
        // Random float32 bit patterns: every exponent, not just tidy decimals.
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isnan(f)) values.push_back(f);
    }
    for (double v : values) {
        ASSERT_EQ(formatted(text::appendG, v), printfText("%g", v)) << std::hexfloat << v;
        ASSERT_EQ(formatted(text::appendFixed7, v), printfText("%.7f", v)) << std::hexfloat << v;
    }
}

TEST(NumberText, NanKeepsItsSign) {
    EXPECT_EQ(formatted(text::appendG, std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(formatted(text::appendG, -std::numeric_limits<double>::quiet_NaN()), "-nan");
}

TEST(NumberText, AltEncodingIsLittleEndianUpperCaseHex) {
    OutBuf out;
    text::appendHexLE(out, std::bit_cast<std::uint64_t>(static_cast<double>(170.72244f)));
    EXPECT_EQ(out.take(), "000000401E576540");
    EXPECT_EQ(text::parseHexLE("000000401e576540"), std::bit_cast<std::uint64_t>(static_cast<double>(170.72244f)));
    EXPECT_FALSE(text::parseHexLE("000000401E57654"));
    EXPECT_FALSE(text::parseHexLE("000000401E57654G"));
}

TEST(NumberText, IntegerParsingChecksRangeAndForm) {
    std::int64_t s = 0;
    std::uint64_t u = 0;
    EXPECT_EQ(text::parseSigned(" -128 ", -128, 127, s), text::Parse::Ok);
    EXPECT_EQ(s, -128);
    EXPECT_EQ(text::parseSigned("128", -128, 127, s), text::Parse::OutOfRange);
    EXPECT_EQ(text::parseSigned("99999999999999999999", -128, 127, s), text::Parse::OutOfRange);
    EXPECT_EQ(text::parseSigned("12a", -128, 127, s), text::Parse::NotANumber);
    EXPECT_EQ(text::parseSigned("", -128, 127, s), text::Parse::NotANumber);
    EXPECT_EQ(text::parseUnsigned("18446744073709551615", UINT64_MAX, u), text::Parse::Ok);
    EXPECT_EQ(u, UINT64_MAX);
    EXPECT_EQ(text::parseUnsigned("18446744073709551616", UINT64_MAX, u), text::Parse::OutOfRange);
    EXPECT_EQ(text::parseUnsigned("-1", 255, u), text::Parse::OutOfRange);
    EXPECT_EQ(text::parseUnsigned("-0", 255, u), text::Parse::Ok);
    EXPECT_EQ(text::parseUnsigned("- 1", 255, u), text::Parse::NotANumber);
}

}  // namespace
}  // namespace serz
