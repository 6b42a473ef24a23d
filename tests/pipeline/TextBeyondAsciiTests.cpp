// Names and text beyond ASCII through the document commands: a file named
// "Zürich Hbf.bin", UTF-8 text edited with Replace All, and bytes that are
// not UTF-8 kept byte for byte.
#include "pipeline/myfile.h"
#include "search/Finder.h"
#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using namespace pipeline;

const std::string kZurich = "Z\xC3\xBCrich Hbf";  // Zürich Hbf

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

class TextBeyondAsciiTest : public PipelineFixture {
 protected:
  search::Finder finder_{editor_};
};

TEST_F(TextBeyondAsciiTest, ANamedFileOpensAndSavesWithItsBackupKeepingEveryByte) {
  installConverter();
  // UTF-8 text, and an ANSI line whose bytes are not UTF-8.
  const std::string original =
      "<Name>M\xC3\xBCnchen</Name>\r\n<Ansi>M\xFCnchen \xE9\xC3 \xBC</Ansi>\r\n";
  writeBytes(user(kZurich + ".bin"), original);
  choose(user(kZurich + ".bin"));
  openBin(ctx_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_TRUE(endsWith(pathBox_.text(), kZurich + ".bin")) << pathBox_.text();
  EXPECT_EQ(document_.workingXml(), kZurich + ".xml");
  EXPECT_EQ(editor_.bytes(), original);

  finder_.replaceAll("M\xC3\x9CNCHEN", "K\xC3\xB6ln");  // MÜNCHEN -> Köln; the ANSI line stays
  const std::string edited = replaced(original, "M\xC3\xBCnchen", "K\xC3\xB6ln");
  ASSERT_EQ(editor_.bytes(), edited);
  saveBin(ctx_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_EQ(readBytes(user(kZurich + ".bin")), "SERZ" + edited);
  EXPECT_EQ(readBytes(user(kZurich + ".bin.bak")), original);

  choose(user(kZurich + " copy.xml"));
  saveAs(ctx_);
  EXPECT_EQ(readBytes(user(kZurich + " copy.xml")), edited);
}

#ifndef _WIN32  // the failing converter is a shell script
TEST_F(TextBeyondAsciiTest, MessagesShowTheNameAsTheUserWroteIt) {
  installConverter("echo \"$1: bad header at byte 0\" >&2\nexit 1\n");
  writeBytes(user(kZurich + ".bin"), "garbage");
  choose(user(kZurich + ".bin"));
  openBin(ctx_);
  const std::string& text = onlyMessage().text;
  std::size_t count = 0;
  for (std::size_t at = text.find(kZurich + ".bin"); at != std::string::npos;
       at = text.find(kZurich + ".bin", at + 1))
    ++count;
  EXPECT_EQ(count, 2u) << text;  // ours and the converter's
}
#endif

// The real converter: a .bin holding "München" (made by serz from XML),
// Replace All with "Köln", Save .bin, and back to XML.
TEST_F(TextBeyondAsciiTest, ReplaceAllInAConvertedBinEndToEnd) {
  const fs::path fixture = sharedFixture("serz/ScenaryItem.bin.xml");
  if (!fs::exists(fixture)) GTEST_SKIP() << "fixture absent: " << fixture.string();
  if (!fs::exists(SERZ_PATH)) GTEST_SKIP() << "serz not built: " << SERZ_PATH;
  installRealConverter();
  const auto serz = [&](const std::string& in, const std::string& out) {
    return RunAndWait("serz \"" + in + "\" " + out, False, 0) > 0;
  };
  std::string xml = readBytes(fixture);
  for (const auto& [empty, filled] :
       {std::pair<std::string, std::string>{
            "<German d:type=\"cDeltaString\"></German>",
            "<German d:type=\"cDeltaString\">M\xC3\xBCnchen</German>"},
        {"<Polish d:type=\"cDeltaString\"></Polish>",
         "<Polish d:type=\"cDeltaString\">K\xC4\x85ty</Polish>"}}) {
    ASSERT_NE(xml.find(empty), std::string::npos) << empty;
    xml = replaced(xml, empty, filled);
  }
  writeBytes(user("made.xml"), xml);
  const std::string bin = user(kZurich + ".bin");
  fs::current_path(program_);
  ASSERT_TRUE(serz(user("made.xml"), "bin:\"" + bin + "\"") && exists(bin))
      << "serz could not make the .bin";
  ASSERT_TRUE(serz(bin, "xml:\"" + user("before.xml") + "\""));
  const std::string before = readBytes(user("before.xml"));
  ASSERT_NE(before.find("M\xC3\xBCnchen"), std::string::npos) << "serz lost the name";

  choose(bin);
  openBin(ctx_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  finder_.replaceAll("M\xC3\xBCnchen", "K\xC3\xB6ln");
  saveBin(ctx_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_TRUE(exists(bin + ".bak"));

  const std::string saved = readBytes(bin);
  EXPECT_NE(saved.find("K\xC3\xB6ln"), std::string::npos);
  EXPECT_EQ(saved.find("M\xC3\xBCnchen"), std::string::npos);
  ASSERT_TRUE(serz(bin, "xml:\"" + user("after.xml") + "\""));
  EXPECT_EQ(readBytes(user("after.xml")), replaced(before, "M\xC3\xBCnchen", "K\xC3\xB6ln"));
}

}  // namespace
}  // namespace vantrel::testing
