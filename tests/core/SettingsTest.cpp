#include <gtest/gtest.h>

#include <tuple>

#include "shell/Settings.h"

using namespace vantrel::shell;

namespace {
auto fields(const Settings& s) {
  return std::tuple(s.width, s.height, s.top, s.left, s.viewerPath);
}
}  // namespace

TEST(SettingsLine, ReadsTheFiveItemsInFileOrderBlanksAndLineBreaksSeparateLikeCommas) {
  const std::pair<const char*, Settings> cases[] = {
      {"12690,10860,-120,-7500,\"C:\\Tools\\i_view32.exe\"\r\n",
       {12690, 10860, -120, -7500, "C:\\Tools\\i_view32.exe"}},
      {" 10 ,\t20\r\n30\n 40 , \"x y\"", {10, 20, 30, 40, "x y"}},
  };
  for (const auto& [text, expected] : cases) {
    auto read = parseSettings(text);
    EXPECT_EQ(read.status, SettingsReadStatus::Complete) << text;
    EXPECT_EQ(fields(read.settings), fields(expected)) << text;
  }
}

TEST(SettingsLine, PathWithCommasOrEmptyPathSurvivesWriteAndRead) {
  const std::pair<Settings, const char*> cases[] = {
      {{100, 200, 300, 400, "C:\\a,b\\c, d.exe"}, "100,200,300,400,\"C:\\a,b\\c, d.exe\"\r\n"},
      {{-1, 0, 32767, -32768, ""}, "-1,0,32767,-32768,\"\"\r\n"},  // empty path: two quotes
  };
  for (const auto& [settings, line] : cases) {
    EXPECT_EQ(formatSettings(settings), line);
    auto read = parseSettings(line);
    EXPECT_EQ(read.status, SettingsReadStatus::Complete) << line;
    EXPECT_EQ(fields(read.settings), fields(settings)) << line;
  }
}

TEST(SettingsLine, FourNumbersWithoutPathEndEarlyWithGeometry) {
  for (const char* text : {"1,2,3,4", "1,2,3,4\r\n", "1,2,3,4,"}) {
    auto read = parseSettings(text);
    EXPECT_EQ(read.status, SettingsReadStatus::EndedEarly) << text;
    EXPECT_EQ(fields(read.settings), fields({1, 2, 3, 4, ""})) << text;
  }
}

TEST(SettingsLine, EndingBeforeFourNumbersIsIncompleteOutsideSixteenBitsOrNotANumberIsMalformed) {
  for (const char* text : {"", "\r\n", "1,2,3", "1,2,3,"})
    EXPECT_EQ(parseSettings(text).status, SettingsReadStatus::Incomplete) << text;
  for (const char* text :
       {"40000,2,3,4,\"\"", "1,2,3,-32769,\"\"", "a,2,3,4,\"\"", "1.5,2,3,4,\"\"", "1,,3,4,\"\""})
    EXPECT_EQ(parseSettings(text).status, SettingsReadStatus::Malformed) << text;
}

TEST(SettingsNumber, RoundsHalfToEvenAndClampsToSixteenBits) {
  const std::pair<double, int> cases[] = {{2.5, 2},    {3.5, 4},       {-2.5, -2},      {-3.5, -4},
                                          {7.4999, 7}, {40000, 32767}, {-40000, -32768}};
  for (auto [twips, expected] : cases) EXPECT_EQ(toSettingsNumber(twips), expected) << twips;
}
