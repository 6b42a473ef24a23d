#include <gtest/gtest.h>

#include "platform/core/CommandLine.h"

using vantrel::platform::splitWindowsCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLineSplit, ConverterLinesKeepPathsWhole) {
  EXPECT_EQ(splitWindowsCommandLine(
                "serz.exe \"C:\\My Sim\\a b.bin\" xml:\"C:\\Prog\\TempFiles\\a b.xml\""),
            (Args{"serz.exe", "C:\\My Sim\\a b.bin", "xml:C:\\Prog\\TempFiles\\a b.xml"}));
  EXPECT_EQ(splitWindowsCommandLine("serz.exe \"/home/u/x.bin\" bin:\"/tmp/y.bin\""),
            (Args{"serz.exe", "/home/u/x.bin", "bin:/tmp/y.bin"}));
}

TEST(CommandLineSplit, QuotedProgramAndBlanks) {
  EXPECT_EQ(splitWindowsCommandLine("  \"C:\\Program Files\\v.exe\"\t\"D:\\i.dds\"  "),
            (Args{"C:\\Program Files\\v.exe", "D:\\i.dds"}));
  EXPECT_EQ(splitWindowsCommandLine("a \"\" b"), (Args{"a", "", "b"}));
  EXPECT_TRUE(splitWindowsCommandLine(" \t ").empty());
}

TEST(CommandLineSplit, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(splitWindowsCommandLine(R"(p a\\b \"x \\"y z" w\\\"v "C:\dir\\")"),
            (Args{"p", R"(a\\b)", "\"x", R"(\y z)", R"(w\"v)", R"(C:\dir\)"}));
  EXPECT_EQ(splitWindowsCommandLine(R"(p "say ""hi"" now")"), (Args{"p", R"(say "hi" now)"}));
}

TEST(CommandLineSplit, ProgramNameTakesBackslashesLiterally) {
  EXPECT_EQ(splitWindowsCommandLine(R"(C:\a\"b c"\x.exe arg)"), (Args{R"(C:\a\b c\x.exe)", "arg"}));
}
