// Number text must match the printf forms of the runtime the simulator's
// converter was built with.

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

// The C library's exact digits (glibc prints the exact decimal value), with
// the older Microsoft runtime's rules laid over them: an exact halfway case
// rounds away from zero, and exponents have at least three digits.
std::string threeDigitExponent(std::string s) {
  const auto e = s.find('e');
  if (e != std::string::npos && s.size() - e == 4) s.insert(e + 2, 1, '0');
  return s;
}

// True when the digits of |v| after the first `kept` significant digits
// (or, for fixed, after `kept` decimals) are exactly 5 then zeros.
bool exactHalfway(double v, bool fixed, int kept) {
  char buf[2048];
  std::snprintf(buf, sizeof buf, fixed ? "%.1100f" : "%.1100e", std::fabs(v));
  std::string digits;
  int seen = 0;
  bool afterPoint = false;
  for (const char* p = buf; *p && *p != 'e'; ++p) {
    if (*p == '.') {
      afterPoint = true;
      continue;
    }
    if (fixed ? !afterPoint : (seen == 0 && *p == '0')) continue;
    if (++seen > kept) digits += *p;
  }
  return !digits.empty() && digits[0] == '5' &&
         digits.find_first_not_of('0', 1) == std::string::npos;
}

double awayFromZero(double v) { return std::nextafter(v, v < 0 ? -INFINITY : INFINITY); }

std::string expectedG(double v) {
  return threeDigitExponent(printfText("%g", exactHalfway(v, false, 6) ? awayFromZero(v) : v));
}
std::string expectedFixed7(double v) {
  return printfText("%.7f", exactHalfway(v, true, 7) ? awayFromZero(v) : v);
}

TEST(NumberText, FollowsTheMicrosoftRuntimeForRandomFloats) {
  std::vector<double> values = {0.0,
                                1.0,
                                7.4525f,
                                0.984314f,
                                170.72244f,
                                2472.16f,
                                68400.0f,
                                0.08f,
                                FLT_MAX,
                                FLT_MIN,
                                1e-45f,
                                1e-4,
                                9.99999e-5,
                                999999.5,
                                1e6,
                                123456789.0,
                                -0.5724627f,
                                DBL_MAX,
                                std::numeric_limits<double>::denorm_min(),
                                725.5625,
                                0.00390625,
                                2.5};
  std::mt19937 rng(42);
  for (int i = 0; i < 20000; ++i) {
    // Random float32 bit patterns: every exponent, not just tidy decimals.
    const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    if (!std::isnan(f) && !std::isinf(f)) values.push_back(f);
  }
  for (int i = 0; i < 2000; ++i)
    values.push_back((static_cast<int>(rng() % 2000000) - 1000000) / 1024.0);  // many halves
  for (double v : values) {
    ASSERT_EQ(formatted(text::appendG, v), expectedG(v)) << std::hexfloat << v;
    // Past 17 significant digits the runtime prints zeros (checked below).
    if (std::fabs(v) < 1e9) {
      ASSERT_EQ(formatted(text::appendFixed7, v), expectedFixed7(v)) << std::hexfloat << v;
    }
  }
}

TEST(NumberText, KnownValuesAsTheConvertersXmlShowsThem) {
  const struct {
    double value;
    const char* g;
    const char* fixed7;
  } cases[] = {
      {FLT_MAX, "3.40282e+038", "340282346638528860000000000000000000000.0000000"},
      {725.5625, "725.563", "725.5625000"},
      {578.8125, "578.813", "578.8125000"},
      {0.00390625, "0.00390625", "0.0039063"},
      {1e-5, "1e-005", "0.0000100"},
      {999999.5, "1e+006", "999999.5000000"},
      {123456792.0f, "1.23457e+008", "123456792.0000000"},
      {DBL_MAX, "1.79769e+308", nullptr},
      {-0.0, "-0", "-0.0000000"},
      {-1e-10, "-1e-010", "-0.0000000"},
      {6e-8, "6e-008", "0.0000001"},
      {std::numeric_limits<double>::infinity(), "inf", "inf"},
      {-std::numeric_limits<double>::quiet_NaN(), "-nan", "-nan"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatted(text::appendG, c.value), c.g);
    if (c.fixed7) {
      EXPECT_EQ(formatted(text::appendFixed7, c.value), c.fixed7);
    }
  }
}

TEST(NumberText, ReadsTheRuntimesSpellingsOfInfinityAndNan) {
  double v = 0;
  ASSERT_EQ(text::parseDouble("1.#INF", v), text::Parse::Ok);
  EXPECT_EQ(v, INFINITY);
  ASSERT_EQ(text::parseDouble(" -1.#INF00 ", v), text::Parse::Ok);
  EXPECT_EQ(v, -INFINITY);
  for (const char* nan : {"1.#QNAN", "-1.#IND", "1.#SNAN0"}) {
    ASSERT_EQ(text::parseDouble(nan, v), text::Parse::Ok) << nan;
    EXPECT_TRUE(std::isnan(v));
  }
  EXPECT_EQ(text::parseDouble("1.#INFX", v), text::Parse::NotANumber);
  ASSERT_EQ(text::parseDouble("3.40282e+038", v), text::Parse::Ok);
  EXPECT_EQ(v, 3.40282e38);
}

TEST(NumberText, AltEncodingIsLittleEndianUpperCaseHex) {
  OutBuf out;
  text::appendHexLE(out, std::bit_cast<std::uint64_t>(static_cast<double>(170.72244f)));
  EXPECT_EQ(out.take(), "000000401E576540");
  EXPECT_EQ(text::parseHexLE("000000401e576540"),
            std::bit_cast<std::uint64_t>(static_cast<double>(170.72244f)));
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
