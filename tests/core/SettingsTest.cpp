#include <gtest/gtest.h>

#include "shell/Settings.h"

using namespace vantrel::shell;

TEST(SettingsLine, ReadsTheFiveItemsInFileOrder) {
  auto read = parseSettings("12690,10860,-120,-7500,\"C:\\Tools\\i_view32.exe\"\r\n");
  ASSERT_EQ(read.status, SettingsReadStatus::Complete);
  EXPECT_EQ(read.settings.width, 12690);
  EXPECT_EQ(read.settings.height, 10860);
  EXPECT_EQ(read.settings.top, -120);
  EXPECT_EQ(read.settings.left, -7500);
  EXPECT_EQ(read.settings.viewerPath, "C:\\Tools\\i_view32.exe");
}

TEST(SettingsLine, PathWithCommasSurvivesWriteAndRead) {
  Settings s{100, 200, 300, 400, "C:\\a,b\\c, d.exe"};
  std::string line = formatSettings(s);
  EXPECT_EQ(line, "100,200,300,400,\"C:\\a,b\\c, d.exe\"\r\n");
  auto read = parseSettings(line);
  ASSERT_EQ(read.status, SettingsReadStatus::Complete);
  EXPECT_EQ(read.settings.viewerPath, s.viewerPath);
}

TEST(SettingsLine, EmptyPathIsTwoQuotes) {
  EXPECT_EQ(formatSettings({-1, 0, 32767, -32768, ""}), "-1,0,32767,-32768,\"\"\r\n");
  auto read = parseSettings("1,2,3,4,\"\"\r\n");
  EXPECT_EQ(read.status, SettingsReadStatus::Complete);
  EXPECT_EQ(read.settings.viewerPath, "");
}

TEST(SettingsLine, BlanksAndLineBreaksSeparateLikeCommas) {
  auto read = parseSettings(" 10 ,\t20\r\n30\n 40 , \"x y\"");
  ASSERT_EQ(read.status, SettingsReadStatus::Complete);
  EXPECT_EQ(read.settings.width, 10);
  EXPECT_EQ(read.settings.height, 20);
  EXPECT_EQ(read.settings.top, 30);
  EXPECT_EQ(read.settings.left, 40);
  EXPECT_EQ(read.settings.viewerPath, "x y");
}

TEST(SettingsLine, FourNumbersWithoutPathEndEarlyWithGeometry) {
  for (const char* text : {"1,2,3,4", "1,2,3,4\r\n", "1,2,3,4,"}) {
    auto read = parseSettings(text);
    EXPECT_EQ(read.status, SettingsReadStatus::EndedEarly) << text;
    EXPECT_EQ(read.settings.left, 4) << text;
    EXPECT_EQ(read.settings.viewerPath, "") << text;
  }
}

TEST(SettingsLine, EndingBeforeFourNumbersIsIncomplete) {
  for (const char* text : {"", "\r\n", "1,2,3", "1,2,3,"})
    EXPECT_EQ(parseSettings(text).status, SettingsReadStatus::Incomplete) << text;
}

TEST(SettingsLine, NumberOutsideSixteenBitsOrNotANumberIsMalformed) {
  for (const char* text : {"40000,2,3,4,\"\"", "1,2,3,-32769,\"\"", "a,2,3,4,\"\"",
                           "1.5,2,3,4,\"\"", "1,,3,4,\"\""})
    EXPECT_EQ(parseSettings(text).status, SettingsReadStatus::Malformed) << text;
  EXPECT_EQ(parseSettings("32767,-32768,0,0,\"\"").status, SettingsReadStatus::Complete);
}

TEST(SettingsNumber, RoundsHalfToEvenAndClampsToSixteenBits) {
  EXPECT_EQ(toSettingsNumber(2.5), 2);
  EXPECT_EQ(toSettingsNumber(3.5), 4);
  EXPECT_EQ(toSettingsNumber(-2.5), -2);
  EXPECT_EQ(toSettingsNumber(-3.5), -4);
  EXPECT_EQ(toSettingsNumber(7.4999), 7);
  EXPECT_EQ(toSettingsNumber(40000), 32767);
  EXPECT_EQ(toSettingsNumber(-40000), -32768);
}
