#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using namespace pipeline;

// Bytes the editor must carry unchanged: CR LF, Windows-1252 and a NUL.
const std::string kOddBytes = std::string("<a>\r\n\x80\xe9\xff\0</a>", 13);

class OpenBinTest : public PipelineFixture {};

TEST_F(OpenBinTest, LoadsExactlyTheBytesOfTheWorkingXml) {
  installConverter();
  ctx_.simulatorFolder = userFolder_.string();
  writeBytes(user("Tracks.BIN"), kOddBytes);
  choose(user("Tracks.BIN"));
  openBin(ctx_);
  EXPECT_EQ(
      request(0),
      "open|Open Vantrel .bin file|BIN Files (*.bin)|*.bin|Packed files (*.ap)|*.ap|All files "
      "(*.*)|*.*|" +
          userFolder_.string());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(editor_.bytes(), kOddBytes);
  EXPECT_EQ(readBytes(working("Tracks.xml")), kOddBytes);
  EXPECT_EQ(document_.workingXml(), "Tracks.xml");
  EXPECT_EQ(pathBox_.text(), user("Tracks.BIN"));
  EXPECT_EQ(busy_, (std::vector<bool>{true, false}));
}

TEST_F(OpenBinTest, CancelOnlyEmptiesThePathBox) {
  editor_.setBytes("kept");
  document_.beginBinOpen("old.xml");
  pathBox_.setText("/somewhere/old.bin");
  openBin(ctx_);
  EXPECT_TRUE(pathBox_.text().empty());
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_EQ(document_.workingXml(), "old.xml");
  EXPECT_TRUE(busy_.empty() && dialogs_.messages.empty());
}

TEST_F(OpenBinTest, MissingConverterIsReportedAndSaveCannotWriteOverTheFile) {
  writeBytes(user("a.bin"), "original");
  editor_.setBytes("text of another document");
  choose(user("a.bin"));
  openBin(ctx_);
  EXPECT_TRUE(contains(onlyMessage().text,
                       "a.bin could not be read: the converter serz.exe could not be started"));
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_EQ(busy_, (std::vector<bool>{true, false}));
  saveBin(ctx_);
  EXPECT_EQ(dialogs_.messages.back().icon, platform::MessageIcon::Stop);
  EXPECT_EQ(readBytes(user("a.bin")), "original");
  EXPECT_FALSE(fs::exists(user("a.bin.bak")));
}

#ifndef _WIN32
TEST_F(OpenBinTest, FailedConversionShowsTheReasonNeverAnOlderXml) {
  installConverter("echo \"$1: line 3, column 7: unexpected end of element\" >&2\nexit 1\n");
  writeBytes(working("a.xml"), "<stale/>");  // left by an earlier run
  writeBytes(user("a.bin"), "garbage");
  choose(user("a.bin"));
  openBin(ctx_);
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_FALSE(fs::exists(working("a.xml")));
  EXPECT_TRUE(contains(onlyMessage().text, "line 3, column 7: unexpected end of element"));
}
#endif

TEST_F(OpenBinTest, RefusesNamesItCannotHandle) {
  installConverter();
  editor_.setBytes("kept");
  writeBytes(user("a\"b.bin"), "x");     // a quote cannot be put in a command line
  writeBytes(user("abc"), "x");          // too short to give a working name
  writeBytes(working("w.xml"), "<w/>");  // the working file itself
  pathBox_.setText(user("kept.bin"));
  for (const std::string& path : {user("a\"b.bin"), working("w.xml")}) {
    choose(path);
    EXPECT_FALSE(openBin(ctx_));
    EXPECT_EQ(pathBox_.text(), user("kept.bin"));  // the editor's text still belongs to it
  }
  choose(user("abc"));
  EXPECT_FALSE(openBin(ctx_));
  EXPECT_TRUE(pathBox_.text().empty());
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_EQ(readBytes(working("w.xml")), "<w/>");
  EXPECT_EQ(dialogs_.messages.size(), 3u);
}

class ViewOtherFilesTest : public PipelineFixture {};

TEST_F(ViewOtherFilesTest, WorkingCopiesAreNamedFromTheBaseName) {
  installConverter();
  for (const auto& [name, base] : std::vector<std::pair<std::string, std::string>>{
           {"scenery.xml", "scenery."}, {"a.b.bin", "a.b."}, {"nodot", ""}}) {
    writeBytes(user(name), "content of " + name);
    choose(user(name));
    viewOtherFiles(ctx_);
    EXPECT_EQ(readBytes(working(base + "bin")), "content of " + name);
    EXPECT_EQ(editor_.bytes(), readBytes(working(base + "xml")));
  }
  EXPECT_EQ(request(0), "open|Open Vantrel files|Vantrel Files (*.*)|*.*|");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ViewOtherFilesTest, SaveBinIsRefusedWhileSaveAsWritesTheBytes) {
  installConverter();
  writeBytes(user("scenery.xml"), kOddBytes);
  choose(user("scenery.xml"));
  choose(user("copy"));
  viewOtherFiles(ctx_);
  saveBin(ctx_);
  EXPECT_EQ(onlyMessage().text,
            "This file was not a .bin file, so cannot be converted back using this program.");
  EXPECT_EQ(onlyMessage().icon, platform::MessageIcon::Stop);
  EXPECT_EQ(readBytes(user("scenery.xml")), kOddBytes);
  saveAs(ctx_);
  EXPECT_EQ(request(1), "save|Save Vantrel format files|Vantrel Files (*.*)|*.*|" +
                            (program_ / "TempFiles").string());
  EXPECT_EQ(readBytes(user("copy")), kOddBytes);  // no extension added
}

TEST_F(ViewOtherFilesTest, FailingCopyOrSaveIsReportedAndChangesNothing) {
  installConverter();
  editor_.setBytes("kept");
  choose(user("vanished.bin"));            // gone after it was chosen
  choose(user("missing folder/new.txt"));  // no such folder
  viewOtherFiles(ctx_);
  saveAs(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_TRUE(contains(dialogs_.messages[0].text, "vanished.bin"));
  EXPECT_TRUE(contains(dialogs_.messages[1].text, "new.txt"));
  EXPECT_EQ(editor_.bytes(), "kept");
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

#ifndef _WIN32
// Whatever a failing converter wrote is not the file's text.
TEST_F(OpenBinTest, AConverterThatFailsAfterWritingIsAFailure) {
  installConverter("printf '<partial' > \"${2#xml:}\"\nexit 3\n");
  writeBytes(user("a.bin"), "x");
  choose(user("a.bin"));
  EXPECT_FALSE(openBin(ctx_));
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_TRUE(contains(onlyMessage().text,
                       "a.bin could not be read: the converter failed (exit status 3)"));
  EXPECT_EQ(document_.kind(), pipeline::Document::Kind::None);
}

// A text larger than the editor holds is refused by its size before it is
// read, and everything stays as it was.
TEST_F(OpenBinTest, ADocumentLargerThanTheEditorHoldsIsRefused) {
  installConverter();
  writeBytes(user("old.bin"), "old");
  choose(user("old.bin"));
  ASSERT_TRUE(openBin(ctx_));
  installConverter("truncate -s 3G \"${2#xml:}\"\n");  // sparse: takes no disk space
  writeBytes(user("huge.bin"), "x");
  choose(user("huge.bin"));
  EXPECT_FALSE(openBin(ctx_));
  EXPECT_TRUE(contains(onlyMessage().text,
                       "huge.bin was not opened: its text is 3,221,225,472 bytes (3.2 GB)"));
  EXPECT_EQ(editor_.bytes(), "old");
  EXPECT_EQ(pathBox_.text(), user("old.bin"));
  EXPECT_EQ(document_.workingXml(), "old.xml");
  EXPECT_EQ(document_.kind(), pipeline::Document::Kind::Bin);
}
#endif

#ifndef _WIN32
// A file that already is XML opens as it is; no converter runs, and it
// cannot be saved as a .bin.
TEST_F(ViewOtherFilesTest, AnXmlFileOpensAsItIs) {
  installConverter("touch \"$0.ran\"\nexit 1\n");
  const std::string xml = "\xEF\xBB\xBF\r\n<cRecordSet>M\xC3\xBCnchen</cRecordSet>\r\n";
  writeBytes(user("scenery.xml"), xml);
  choose(user("scenery.xml"));
  EXPECT_TRUE(viewOtherFiles(ctx_));
  EXPECT_EQ(editor_.bytes(), xml);
  EXPECT_FALSE(fs::exists(program_ / "serz.ran"));
  EXPECT_EQ(document_.path(), user("scenery.xml"));
  EXPECT_EQ(document_.kind(), pipeline::Document::Kind::OtherFile);
  saveBin(ctx_);
  EXPECT_EQ(onlyMessage().text,
            "This file was not a .bin file, so cannot be converted back using this program.");
}
#endif

#ifdef _WIN32
// Reported, so that a run on Windows says what it left out.
TEST(OpenAndViewOnWindows, ShellScriptCasesRunOnLinuxOnly) {
  GTEST_SKIP() << "A failing, a partly writing, a huge and a never-started converter: their "
                  "stand-ins are POSIX shell scripts";
}
#endif

// Files from outside (the command line, a drop): every SERZ binary opens as
// a .bin does, whatever its extension, so Save .bin can write it back; a
// file named .bin does too; anything else is viewed.
class OpenGivenFileTest : public PipelineFixture {};

TEST_F(OpenGivenFileTest, SerzBinariesOfAnyExtensionOpenAsBinFiles) {
  installConverter();
  const std::string serz("SERZ\0\0\1\0", 8);
  for (const std::string name : {"wheel.TgPcDx", "cab.GeoPcDx", "tree.proxybin", "NOEXT"}) {
    SCOPED_TRACE(name);
    writeBytes(user(name), serz + "<texture/>");
    EXPECT_TRUE(isSerzFile(user(name)));
    EXPECT_TRUE(openGivenFile(ctx_, user(name)).isDone());
    EXPECT_EQ(document_.kind(), pipeline::Document::Kind::Bin);
    EXPECT_EQ(pathBox_.text(), user(name));
    EXPECT_TRUE(contains(editor_.bytes(), "<texture/>"));
  }
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(dialogs_.fileRequests.empty());
}

TEST_F(OpenGivenFileTest, OtherFilesAreViewedAndBinNamesStillOpen) {
  installConverter();
  // Not SERZ: text, a short file, the magic without its version bytes.
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"notes.TgPcDx", "<xml/>"}, {"tiny.dat", "SER"}, {"other.GeoPcDx", "SERZ\x01\x02"}}) {
    SCOPED_TRACE(name);
    writeBytes(user(name), bytes);
    EXPECT_FALSE(isSerzFile(user(name)));
    EXPECT_TRUE(openGivenFile(ctx_, user(name)).isDone());
    EXPECT_EQ(document_.kind(), pipeline::Document::Kind::OtherFile);
  }
  EXPECT_FALSE(isSerzFile(user("missing.TgPcDx")));
  writeBytes(user("Plain.BIN"), "bin text");
  EXPECT_TRUE(openGivenFile(ctx_, user("Plain.BIN")).isDone());
  EXPECT_EQ(document_.kind(), pipeline::Document::Kind::Bin);
  EXPECT_EQ(editor_.bytes(), "bin text");
}

}  // namespace
}  // namespace vantrel::testing
