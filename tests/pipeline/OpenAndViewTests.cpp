#include <gtest/gtest.h>

#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using pipeline::openBin;
using pipeline::saveAs;
using pipeline::saveBin;
using pipeline::viewOtherFiles;

// Bytes the editor must carry unchanged: CR LF, Windows-1252 and a NUL.
const std::string kOddBytes = std::string("<a>\r\n\x80\xe9\xff", 8) + std::string(1, '\0') + "</a>";

class OpenBinTest : public PipelineFixture {};

TEST_F(OpenBinTest, LoadsExactlyTheBytesOfTheWorkingXml) {
  installCopyingConverter();
  session_.VantrelPath = userFolder_.string();
  writeBytes(user("Tracks.BIN"), kOddBytes);
  dialogs_.answers = {QString::fromStdString(user("Tracks.BIN"))};
  openBin(ctx_);

  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "BIN Files (*.bin)|*.bin");
  EXPECT_EQ(dialogs_.fileRequests[0].title, "Open Vantrel .bin file");
  EXPECT_EQ(dialogs_.fileRequests[0].startFolder.toStdString(), userFolder_.string());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(editor_.bytes(), kOddBytes);
  EXPECT_EQ(session_.strXML, "Tracks.xml");
  EXPECT_EQ(readBytes(working("Tracks.xml")), kOddBytes);
  EXPECT_EQ(pathBox_.text().toStdString(), user("Tracks.BIN"));
  EXPECT_EQ(session_.NotBin, False);
  EXPECT_FALSE(session_.noConvertedText);
  EXPECT_EQ(busyCalls_, (std::vector<bool>{true, false}));
}

TEST_F(OpenBinTest, CancelOnlyEmptiesThePathBox) {
  installCopyingConverter();
  editor_.setBytes("kept");
  session_.strXML = "old.xml";
  pathBox_.setText("/somewhere/old.bin");
  openBin(ctx_);
  EXPECT_TRUE(pathBox_.text().isEmpty());
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_EQ(session_.strXML, "old.xml");
  EXPECT_TRUE(busyCalls_.empty());
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(OpenBinTest, MissingConverterIsReportedAndSaveCannotWriteOverTheFile) {
  writeBytes(user("a.bin"), "original");
  editor_.setBytes("text of another document");
  dialogs_.answers = {QString::fromStdString(user("a.bin"))};
  openBin(ctx_);

  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains(QString::fromStdString(user("a.bin"))));
  EXPECT_TRUE(dialogs_.messages[0].text.contains("could not be started"));
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_TRUE(session_.noConvertedText);
  EXPECT_EQ(busyCalls_, (std::vector<bool>{true, false}));

  saveBin(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_EQ(dialogs_.messages[1].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(readBytes(user("a.bin")), "original");
  EXPECT_FALSE(fs::exists(user("a.bin.bak")));
}

TEST_F(OpenBinTest, FailedConversionShowsTheReasonNeverAnOlderXml) {
  installFailingConverter();
  writeBytes(working("a.xml"), "<stale/>");  // left by an earlier run
  writeBytes(user("a.bin"), "garbage");
  dialogs_.answers = {QString::fromStdString(user("a.bin"))};
  openBin(ctx_);

  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_FALSE(fs::exists(working("a.xml")));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("line 3, column 7: unexpected end of element"));
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Warning);
}

TEST_F(OpenBinTest, RefusesNamesItCannotHandle) {
  installCopyingConverter();
  editor_.setBytes("kept");
  writeBytes(user("a\"b.bin"), "x");  // a quote cannot be put in a command line
  writeBytes(user("abc"), "x");       // too short to give a working name
  dialogs_.answers = {QString::fromStdString(user("a\"b.bin")), QString::fromStdString(user("abc"))};
  openBin(ctx_);
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_TRUE(session_.noConvertedText);
  openBin(ctx_);
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_TRUE(pathBox_.text().isEmpty());
  EXPECT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_FALSE(fs::exists(working("a\"b.xml")));
}

class ViewOtherFilesTest : public PipelineFixture {};

TEST_F(ViewOtherFilesTest, WorkingCopiesAreNamedFromTheBaseName) {
  installCopyingConverter();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"scenery.xml", "scenery."}, {"a.b.bin", "a.b."}, {"nodot", ""}};
  for (const auto& [name, base] : cases) {
    writeBytes(user(name), "content of " + name);
    dialogs_.answers = {QString::fromStdString(user(name))};
    viewOtherFiles(ctx_);
    EXPECT_EQ(readBytes(working(base + "bin")), "content of " + name);
    EXPECT_EQ(readBytes(working(base + "xml")), "content of " + name);
    EXPECT_EQ(editor_.bytes(), "content of " + name);
  }
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "Vantrel Files (*.*)|*.*");
  EXPECT_EQ(dialogs_.fileRequests[0].title, "Open Vantrel files");
  EXPECT_EQ(session_.NotBin, True);
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ViewOtherFilesTest, SaveBinIsRefusedWhileSaveAsWritesTheBytes) {
  installCopyingConverter();
  writeBytes(user("scenery.xml"), kOddBytes);
  dialogs_.answers = {QString::fromStdString(user("scenery.xml")),
                      QString::fromStdString(user("copy"))};
  viewOtherFiles(ctx_);
  saveBin(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text,
            "This file was not a .bin file, so cannot be converted back using this program.");
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(readBytes(user("scenery.xml")), kOddBytes);

  saveAs(ctx_);
  EXPECT_EQ(dialogs_.fileRequests[1].title, "Save Vantrel format files");
  EXPECT_TRUE(dialogs_.fileRequests[1].save);
  EXPECT_EQ(dialogs_.fileRequests[1].startFolder.toStdString(),
            (programFolder_ / "TempFiles").string());
  EXPECT_EQ(readBytes(user("copy")), kOddBytes);  // no extension added
  EXPECT_EQ(dialogs_.messages.size(), 1u);
}

TEST_F(ViewOtherFilesTest, FailingCopyOrSaveIsReportedAndChangesNothing) {
  installCopyingConverter();
  editor_.setBytes("kept");
  // A file that vanished after it was chosen; a folder that does not exist.
  dialogs_.answers = {QString::fromStdString(user("vanished.bin")),
                      QString::fromStdString(user("missing folder/new.txt"))};
  viewOtherFiles(ctx_);
  EXPECT_EQ(editor_.bytes(), "kept");
  EXPECT_FALSE(fs::exists(working("vanished.bin")));
  saveAs(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("vanished.bin"));
  EXPECT_TRUE(dialogs_.messages[1].text.contains("new.txt"));
  EXPECT_EQ(editor_.bytes(), "kept");
}

}  // namespace
}  // namespace vantrel::testing
