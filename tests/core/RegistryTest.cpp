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

using NamedValues = std::vector<std::pair<std::string, RegistryValue>>;

// Under Software\VantrelTest\Types both in the file above and in the keys
// that scripts/windows-tests.sh writes.
const NamedValues kTypes = {
    {"", std::string("C:\\Games\\Sim")},
    {"Expand", std::string("%SystemRoot%\\x")},  // unexpanded
    {"Multi", std::string("one\0two", 7)},
    {"Count", std::int32_t{10}},
    {"Blob", std::vector<std::uint8_t>{1, 2, 3, 4, 5}},
};

}  // namespace

TEST(WineRegistryFile, ValuesArriveAsTheAnsiQueryGivesThem) {
  auto def = mustFind("Software\\VantrelTest\\Types", "");
  EXPECT_EQ(def.type, 1u);
  EXPECT_EQ(std::string(def.bytes.begin(), def.bytes.end()), std::string("C:\\Games\\Sim\0", 13));
  NamedValues values = kTypes;
  values.insert(values.end(), {{"MultiHex", std::string("one\0two", 7)},
                               {"Escaped", std::string("say \"hi\"\ttab\\end \xe9t \x80")},
                               {"Utf8", std::string("caf\xe9")},
                               {"Negative", std::int32_t{-1}}});
  for (const auto& [name, expected] : values)
    EXPECT_EQ(convertRegistryValue(mustFind("Software\\VantrelTest\\Types", name)), expected)
        << name;
}

TEST(WineRegistryFile, KeysAreMatchedWholeAndWithoutCase) {
  EXPECT_EQ(mustFind("software\\vantreltest\\TYPES", "count").type, 4u);
  EXPECT_FALSE(lookUpWineRegistry(kSystemReg, "Software\\VantrelTest", "").has_value());
  EXPECT_FALSE(lookUpWineRegistry(kSystemReg, "Software\\Missing", "").has_value());
  // A value of the next key does not belong to this one.
  EXPECT_EQ(mustFind("Software\\VantrelTest\\Types", "Other").type, 0u);
}

TEST(RegistryTypes, MissingOrUnsupportedValueRaises1001) {
  EXPECT_EQ(mustFind("Software\\VantrelTest\\NoDefault", "").type, 0u);
  EXPECT_EQ(RegistryError::kNumber, 1001);
  for (std::uint32_t type : {0u, 5u, 6u, 11u}) {
    try {
      convertRegistryValue({type, {1, 2, 3, 4}});
      ADD_FAILURE() << "type " << type << " was accepted";
    } catch (const RegistryError& e) {
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
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "C:\\Games\\Rail Sim"),
            "/p/dosdevices/c:/Games/Rail Sim");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "d:"), "/p/dosdevices/d:");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", "relative\\x"), "relative\\x");
  EXPECT_EQ(mapWindowsPathIntoPrefix("/p", ""), "");
}

#ifndef _WIN32
namespace {
// A Wine prefix folder that WINEPREFIX points at while the object lives.
struct FakeWinePrefix {
  FakeWinePrefix() { ::setenv("WINEPREFIX", folder.path().c_str(), 1); }
  ~FakeWinePrefix() { old ? ::setenv("WINEPREFIX", old->c_str(), 1) : ::unsetenv("WINEPREFIX"); }
  void write(const std::string& keys) {
    vantrel::test::writeFile(folder.file("system.reg"),
                             "WINE REGISTRY Version 2\n#arch=win64\n\n" + keys);
  }
  const char* was = std::getenv("WINEPREFIX");
  const std::optional<std::string> old = was ? std::optional<std::string>(was) : std::nullopt;
  vantrel::test::TempFolder folder;
};

std::string installationKey(const std::string& software, const std::string& value) {
  return "[" + software + "\\\\Rail Simulator\\\\Packager Manager\\\\Installation] 1\n" + value +
         "\n\n";
}
}  // namespace

TEST(SimulatorFolder, ThirtyTwoBitViewFirstThenMappedIntoThePrefixMissingGivesEmptyText) {
  FakeWinePrefix prefix;
  const std::string folder = prefix.folder.path().string();
  EXPECT_EQ(readSimulatorFolder(), "");  // no system.reg at all
  EXPECT_EQ(std::get<std::int32_t>(ReadRegistryValue("Software\\X", "", std::int32_t{7})), 7);

  prefix.write(installationKey("Software", "\"NotDefault\"=\"x\""));
  EXPECT_EQ(readSimulatorFolder(), "");
  EXPECT_THROW(ReadRegistryValue("Software\\Rail Simulator\\Packager Manager\\Installation", ""),
               RegistryError);

  prefix.write(installationKey("Software", "@=\"D:\\\\Elsewhere\"") +
               installationKey("Software\\\\Wow6432Node", "@=\"C:\\\\Games\\\\Sim32\""));
  EXPECT_EQ(readSimulatorFolder(), folder + "/dosdevices/c:/Games/Sim32");
  prefix.write(installationKey("Software", "@=\"D:\\\\Elsewhere\""));
  EXPECT_EQ(readSimulatorFolder(), folder + "/dosdevices/d:/Elsewhere");
}
#endif

// Keys that scripts/windows-tests.sh writes into a fresh Wine prefix with
// `wine reg add` (the 32-bit view, as the simulator uses). The cross-built
// tests read them through the Windows registry API under Wine; the Linux
// build reads the same prefix's system.reg.
class RealRegistry : public ::testing::Test {
  void SetUp() override {
    if (!std::getenv("VANTREL_TEST_REGISTRY_KEYS"))
      GTEST_SKIP() << "the test keys under HKLM\\Software\\VantrelTest are not installed";
  }
};

TEST_F(RealRegistry, EveryTypeOfTheTable) {
  NamedValues values = kTypes;
  values.push_back({"Long", std::string(2000, 'L')});  // over 1024 bytes
  for (const auto& [name, expected] : values)
    EXPECT_EQ(ReadRegistryValue("Software\\VantrelTest\\Types", name), expected) << name;
}

TEST_F(RealRegistry, MissingKeyGivesDefaultMissingValueRaises) {
  EXPECT_EQ(ReadRegistryValue("Software\\VantrelTest\\Nothing", "", std::int32_t{7}),
            RegistryValue(7));
  EXPECT_THROW(ReadRegistryValue("Software\\VantrelTest\\NoDefault", ""), RegistryError);
#ifdef _WIN32
  // Written only to the 64-bit view: invisible to a 32-bit reader.
  EXPECT_EQ(ReadRegistryValue("Software\\VantrelTest\\Only64", ""), RegistryValue());
  EXPECT_EQ(readSimulatorFolder(), "C:\\Games\\RailSim");
#else
  EXPECT_EQ(readSimulatorFolder(),
            vantrel::platform::winePrefixFolder() + "/dosdevices/c:/Games/RailSim");
#endif
}
