#include <gtest/gtest.h>

#include "platform/core/CommandLine.h"

using vantrel::platform::splitWindowsCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLineSplit, WindowsRules) {
  const std::pair<const char*, Args> cases[] = {
      // Converter lines keep paths whole.
      {"serz.exe \"C:\\My Sim\\a b.bin\" xml:\"C:\\Prog\\TempFiles\\a b.xml\"",
       {"serz.exe", "C:\\My Sim\\a b.bin", "xml:C:\\Prog\\TempFiles\\a b.xml"}},
      {"serz.exe \"/home/u/x.bin\" bin:\"/tmp/y.bin\"",
       {"serz.exe", "/home/u/x.bin", "bin:/tmp/y.bin"}},
      // A quoted program, blanks and empty arguments.
      {"  \"C:\\Program Files\\v.exe\"\t\"D:\\i.dds\"  ",
       {"C:\\Program Files\\v.exe", "D:\\i.dds"}},
      {"a \"\" b", {"a", "", "b"}},
      {" \t ", {}},
      // Backslashes count only before a quote.
      {R"(p a\\b \"x \\"y z" w\\\"v "C:\dir\\")",
       {"p", R"(a\\b)", "\"x", R"(\y z)", R"(w\"v)", R"(C:\dir\)"}},
      {R"(p "say ""hi"" now")", {"p", R"(say "hi" now)"}},
      // The program name takes backslashes literally.
      {R"(C:\a\"b c"\x.exe arg)", {R"(C:\a\b c\x.exe)", "arg"}},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(splitWindowsCommandLine(line), expected) << line;
}
