#include <gtest/gtest.h>

#include "archive/MemberPath.h"

using vantrel::archive::looseFileFor;
using vantrel::archive::safeMemberPath;

// Names made on Windows or by sloppy tools come out as plain relative paths.
TEST(SafeMemberPath, OrdinaryNamesAreNormalised) {
  const std::pair<std::string, std::string> cases[] = {
      {"Scenery/Tree.bin", "Scenery/Tree.bin"},
      {"Scenery\\Trees\\Oak.bin", "Scenery/Trees/Oak.bin"},
      {"./Scenery//Tree.bin", "Scenery/Tree.bin"},
      {"a/./b\\/c.bin", "a/b/c.bin"},
      {"Folder/", "Folder"},
      {"..bin", "..bin"},
      {"a..b/.hidden", "a..b/.hidden"},
      {"Console.bin", "Console.bin"},
      {"COM10.bin", "COM10.bin"},
      {"Grüße/Zug.bin", "Grüße/Zug.bin"},
  };
  for (const auto& [name, expected] : cases) {
    const auto path = safeMemberPath(name);
    ASSERT_TRUE(path) << name;
    EXPECT_EQ(*path, expected) << name;
  }
}

// Anything that could write outside the archive's folder, or that Windows
// would read as something other than a plain file name.
TEST(SafeMemberPath, NamesThatCouldEscapeAreRefused) {
  const std::string refused[] = {
      "",
      "/",
      "./",
      "/etc/passwd",
      "\\Windows\\x.bin",
      "../x.bin",
      "a/../../x.bin",
      "a\\..\\..\\x.bin",
      "a/..",
      "..",
      "C:x.bin",
      "C:\\x.bin",
      "c:/x.bin",
      "a/C:/x.bin",
      "file.bin:stream",
      std::string("evil.bin\0.txt", 13),
      "tab\there.bin",
      "a/.../x.bin",
      "a/.. /x.bin",
      "trailing./x.bin",
      "what?.bin",
      "star*.bin",
      "pipe|.bin",
      "<x>.bin",
      "\"q\".bin",
      "CON",
      "nul.bin",
      "Scenery/aux.bin",
      "lpt1",
      "com9.txt",
  };
  for (const std::string& name : refused) EXPECT_FALSE(safeMemberPath(name)) << name;
}

TEST(LooseFileFor, MemberGoesUnderTheArchivesFolderWithItsSeparator) {
  EXPECT_EQ(looseFileFor("/sim/Assets/Kuju/Product/MainContent.ap", "Scenery/Tree.bin"),
            "/sim/Assets/Kuju/Product/Scenery/Tree.bin");
  EXPECT_EQ(looseFileFor("D:\\Sim\\Product\\MainContent.ap", "Scenery/Trees/Oak.bin"),
            "D:\\Sim\\Product\\Scenery\\Trees\\Oak.bin");
  // The separator nearest the name decides, as a mixed path is split.
  EXPECT_EQ(looseFileFor("D:\\Sim/Product/MainContent.ap", "a/b.bin"), "D:\\Sim/Product/a/b.bin");
  EXPECT_EQ(looseFileFor("/p/Main.ap", "Scenery\\Tree.bin"), "/p/Scenery/Tree.bin");
  // An archive named without a folder: the member lands beside it.
  const auto bare = looseFileFor("MainContent.ap", "x/y.bin");
  ASSERT_TRUE(bare);
#ifdef _WIN32
  EXPECT_EQ(*bare, "x\\y.bin");
#else
  EXPECT_EQ(*bare, "x/y.bin");
#endif
}

TEST(LooseFileFor, UnsafeMemberHasNoPlace) {
  EXPECT_FALSE(looseFileFor("/p/Main.ap", "../../home/x.bin"));
  EXPECT_FALSE(looseFileFor("/p/Main.ap", "/etc/x.bin"));
  EXPECT_FALSE(looseFileFor("D:\\p\\Main.ap", "C:\\x.bin"));
}
