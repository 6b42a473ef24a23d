#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "TestSupport.h"
#include "platform/core/RegistryData.h"
#include "shell/Registry.h"

using namespace vantrel::shell;

namespace {

// As Wine 8 writes it: doubled separators, typed values, escapes, a
// continued hex line, and a neighbouring key.
const std::string kSystemReg = std::string(
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n\n"
    "#arch=win64\n\n"
    "[Software\\\\VantrelTest\\\\Types] 1700000000\n"
    "#time=1da0f0e0d0c0b0a\n"
    "@=\"C:\\\\Games\\\\Sim\"\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
    "\"Multi\"=str(7):\"one\\0two\\0\"\n"
    "\"MultiHex\"=hex(7):6f,00,6e,00,65,00,00,00,74,00,77,00,6f,00,00,00,00,00\n"
    "\"Count\"=dword:0000000a\n"
    "\"Negative\"=dword:ffffffff\n"
    "\"Blob\"=hex:01,02,03,\\\n  04,05\n"
    "\"Escaped\"=\"say \\\"hi\\\"\\ttab\\\\end \\xe9t \\x20ac\"\n"
    "\"Utf8\"=\"caf\xc3\xa9\"\n"
    "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n"
    "\n"
    "[Software\\\\VantrelTest\\\\NoDefault] 1700000000\n"
    "\"Other\"=\"x\"\n");

RawRegistryValue mustFind(std::string_view key, std::string_view name) {
  auto raw = lookUpWineRegistry(kSystemReg, key, name);
  EXPECT_TRUE(raw.has_value()) << key;
  return raw.value_or(RawRegistryValue{});
}

RegistryValue valueOf(std::string_view name) {
  return convertRegistryValue(mustFind("Software\\VantrelTest\\Types", name));
}

}  // namespace

TEST(WineRegistryFile, TextValuesArriveAsTheAnsiQueryGivesThem) {
  auto def = mustFind("Software\\VantrelTest\\Types", "");
  EXPECT_EQ(def.type, 1u);
  EXPECT_EQ(std::string(def.bytes.begin(), def.bytes.end()), std::string("C:\\Games\\Sim\0", 13));
  EXPECT_EQ(std::get<std::string>(valueOf("")), "C:\\Games\\Sim");
  EXPECT_EQ(std::get<std::string>(valueOf("Expand")), "%SystemRoot%\\x");  // unexpanded
  EXPECT_EQ(std::get<std::string>(valueOf("Multi")), std::string("one\0two", 7));
  EXPECT_EQ(std::get<std::string>(valueOf("MultiHex")), std::string("one\0two", 7));
  EXPECT_EQ(std::get<std::string>(valueOf("Escaped")), "say \"hi\"\ttab\\end \xe9t \x80");
  EXPECT_EQ(std::get<std::string>(valueOf("Utf8")), "caf\xe9");
}

TEST(WineRegistryFile, NumbersAndBytes) {
  EXPECT_EQ(std::get<std::int32_t>(valueOf("Count")), 10);
  EXPECT_EQ(std::get<std::int32_t>(valueOf("Negative")), -1);
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(valueOf("Blob")),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST(WineRegistryFile, KeysAreMatchedWholeAndWithoutCase) {
  EXPECT_EQ(mustFind("software\\vantreltest\\TYPES", "count").type, 4u);
  EXPECT_FALSE(lookUpWineRegistry(kSystemReg, "Software\\VantrelTest", "").has_value());
  EXPECT_FALSE(lookUpWineRegistry(kSystemReg, "Software\\Missing", "").has_value());
  // A value of the next key does not belong to this one.
  EXPECT_EQ(mustFind("Software\\VantrelTest\\Types", "Other").type, 0u);
}

TEST(RegistryTypes, MissingOrUnsupportedValueRaises1001) {
  auto noDefault = mustFind("Software\\VantrelTest\\NoDefault", "");
  EXPECT_EQ(noDefault.type, 0u);
  for (std::uint32_t type : {0u, 5u, 6u, 11u}) {
    try {
      convertRegistryValue({type, {1, 2, 3, 4}});
      ADD_FAILURE() << "type " << type << " was accepted";
    } catch (const RegistryError& e) {
      EXPECT_EQ(RegistryError::kNumber, 1001);
      EXPECT_STREQ(e.what(), "Unsupported value type");
    }
  }
}

TEST(RegistryTypes, ShortDataDoesNotReadPastTheBytes) {
  EXPECT_EQ(std::get<std::string>(convertRegistryValue({1, {}})), "");
  EXPECT_EQ(std::get<std::string>(convertRegistryValue({7, {0}})), "");
  EXPECT_EQ(std::get<std::int32_t>(convertRegistryValue({4, {0x34, 0x12}})), 0x1234);
}

TEST(RegistryText, ValuesAsTextAndWindowsFoldersInThePrefix) {
  EXPECT_EQ(registryValueToText({}), "");
  EXPECT_EQ(registryValueToText(std::string("x")), "x");
  EXPECT_EQ(registryValueToText(std::int32_t{-5}), "-5");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "C:\\Games\\Rail Sim"), "/p/dosdevices/c:/Games/Rail Sim");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "d:"), "/p/dosdevices/d:");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "relative\\x"), "relative\\x");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", ""), "");
}

#ifndef _WIN32
namespace {
// Points WINEPREFIX at a folder for one test and restores it afterwards.
class WinePrefixScope {
 public:
  explicit WinePrefixScope(const std::string& prefix) {
    if (const char* old = std::getenv("WINEPREFIX")) old_ = old;
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
  }
  ~WinePrefixScope() {
    if (old_) ::setenv("WINEPREFIX", old_->c_str(), 1);
    else ::unsetenv("WINEPREFIX");
  }

 private:
  std::optional<std::string> old_;
};

std::string installationKey(const std::string& software, const std::string& folder) {
  return "[" + software + "\\\\Rail Simulator\\\\Packager Manager\\\\Installation] 1\n@=\"" +
         folder + "\"\n\n";
}
}  // namespace

TEST(SimulatorFolder, ThirtyTwoBitViewFirstThenMappedIntoThePrefix) {
  vantrel::test::TempFolder prefix;
  WinePrefixScope scope(prefix.path().string());
  vantrel::test::writeFile(prefix.file("system.reg"),
                           "WINE REGISTRY Version 2\n#arch=win64\n\n" +
                               installationKey("Software", "D:\\\\Elsewhere") +
                               installationKey("Software\\\\Wow6432Node", "C:\\\\Games\\\\Sim32"));
  EXPECT_EQ(readSimulatorFolder(), prefix.path().string() + "/dosdevices/c:/Games/Sim32");

  vantrel::test::writeFile(prefix.file("system.reg"),
                           "WINE REGISTRY Version 2\n#arch=win64\n\n" +
                               installationKey("Software", "D:\\\\Elsewhere"));
  EXPECT_EQ(readSimulatorFolder(), prefix.path().string() + "/dosdevices/d:/Elsewhere");
}

TEST(SimulatorFolder, MissingFileKeyOrDefaultValueGiveEmptyText) {
  vantrel::test::TempFolder prefix;
  WinePrefixScope scope(prefix.path().string());
  EXPECT_EQ(readSimulatorFolder(), "");
  EXPECT_EQ(std::get<std::int32_t>(ReadRegistryValue("Software\\X", "", std::int32_t{7})), 7);

  vantrel::test::writeFile(
      prefix.file("system.reg"),
      "WINE REGISTRY Version 2\n\n[Software\\\\Rail Simulator\\\\Packager Manager\\\\Installation] 1\n"
      "\"NotDefault\"=\"x\"\n");
  EXPECT_EQ(readSimulatorFolder(), "");
  EXPECT_THROW(ReadRegistryValue("Software\\Rail Simulator\\Packager Manager\\Installation", ""),
               RegistryError);
}
#endif

// Keys that scripts/windows-tests.sh writes into a fresh Wine prefix with
// `wine reg add` (the 32-bit view, as the simulator uses). The cross-built
// tests read them through the Windows registry API under Wine; the Linux
// build reads the same prefix's system.reg.
class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("VANTREL_TEST_REGISTRY_KEYS"))
      GTEST_SKIP() << "the test keys under HKLM\\Software\\VantrelTest are not installed";
  }
  static RegistryValue read(const char* name) {
    return ReadRegistryValue("Software\\VantrelTest\\Types", name);
  }
};

TEST_F(RealRegistry, EveryTypeOfTheTable) {
  EXPECT_EQ(std::get<std::string>(read("")), "C:\\Games\\Sim");
  EXPECT_EQ(std::get<std::string>(read("Expand")), "%SystemRoot%\\x");
  EXPECT_EQ(std::get<std::string>(read("Multi")), std::string("one\0two", 7));
  EXPECT_EQ(std::get<std::int32_t>(read("Count")), 10);
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(read("Blob")),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(std::get<std::string>(read("Long")), std::string(2000, 'L'));  // over 1024 bytes
}

TEST_F(RealRegistry, MissingKeyGivesDefaultMissingValueRaises) {
  EXPECT_EQ(std::get<std::int32_t>(
                ReadRegistryValue("Software\\VantrelTest\\Nothing", "", std::int32_t{7})),
            7);
  EXPECT_THROW(ReadRegistryValue("Software\\VantrelTest\\NoDefault", ""), RegistryError);
#ifdef _WIN32
  // Written only to the 64-bit view: invisible to a 32-bit reader.
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      ReadRegistryValue("Software\\VantrelTest\\Only64", "")));
  EXPECT_EQ(readSimulatorFolder(), "C:\\Games\\RailSim");
#else
  EXPECT_EQ(readSimulatorFolder(), vantrel::platform::winePrefixFolder() + "/dosdevices/c:/Games/RailSim");
#endif
}
