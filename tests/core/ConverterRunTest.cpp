// The converter started the way the editor starts it: by its bare name
// "serz.exe" from the program folder, with quoted paths in a folder with
// blanks. On Linux this also exercises the fallback from serz.exe to serz.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/myfile.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

fs::path fixtureFolder() {
  std::string shared = VANTREL_SHARED_DIR;
#ifdef _WIN32
  // Under Wine the build's Linux paths are reached through drive Z:.
  if (!shared.empty() && shared.front() == '/') shared = "Z:" + shared;
#endif
  return fs::path(shared) / "fixtures" / "serz";
}

// The stored fixture may have lost its CRs; the lines must agree.
std::string linesOf(const fs::path& file) {
  std::string text = test::readFile(file.string());
  std::erase(text, '\r');
  return text;
}

}  // namespace

TEST(ConverterRun, FixtureRoundTripThroughRunAndWait) {
  const fs::path fixtures = fixtureFolder();
  const fs::path bin = fixtures / "ScenaryItem.bin", expectedXml = fixtures / "ScenaryItem.bin.xml";
  if (!fs::exists(bin) || !fs::exists(expectedXml))
    GTEST_SKIP() << "fixtures not found in " << fixtures.string();
  const fs::path serz = test::programFolder() / (std::string("serz") + test::kExeSuffix);
  if (!fs::exists(serz)) GTEST_SKIP() << "serz is not built beside the tests";

  test::TempFolder dir;
  fs::create_directory(dir.path() / "Rail Sim");
  const std::string original = (dir.path() / "Rail Sim" / "Scenary Item.bin").string(),
                    xml = (dir.path() / "Scenary Item.xml").string(),
                    rebuilt = (dir.path() / "Rail Sim" / "rebuilt.bin").string();
  fs::copy_file(bin, original);

  test::CurrentFolder current(test::programFolder());
  auto toXml = pipeline::binToXmlCommand(original, xml);
  ASSERT_TRUE(toXml);
  EXPECT_GT(RunAndWait(*toXml, True, 0), 0) << *toXml;
  ASSERT_TRUE(fs::exists(xml)) << *toXml;
  EXPECT_TRUE(linesOf(xml) == linesOf(expectedXml))
      << "the XML differs from " << expectedXml.string();

  auto toBin = pipeline::xmlToBinCommand(xml, rebuilt);
  ASSERT_TRUE(toBin);
  EXPECT_GT(RunAndWait(*toBin, True, 0), 0) << *toBin;
  EXPECT_TRUE(test::readFile(rebuilt) == test::readFile(bin.string()))
      << "the rebuilt .bin differs from " << bin.string();
}
