#include <gtest/gtest.h>
#include <unistd.h>

#include "pipeline/UniFile.h"
#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using pipeline::openBin;
using pipeline::saveBin;

// With the copying converter the rebuilt .bin holds exactly the saved text.
class SaveBinTest : public PipelineFixture {
 protected:
  void openOriginal() {
    installCopyingConverter();
    writeBytes(user("x.bin"), "original");
    dialogs_.answers = {QString::fromStdString(user("x.bin"))};
    openBin(ctx_);
    ASSERT_EQ(editor_.bytes(), "original");
    busyCalls_.clear();
  }
  // Nothing beside the .bin or in the working folder may have changed.
  void expectUntouched(std::size_t backups = 0) {
    EXPECT_EQ(readBytes(user("x.bin")), "original");
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(userFolder_)) count += entry.path() != user("x.bin");
    EXPECT_EQ(count, backups);
  }
};

TEST_F(SaveBinTest, WritesTheEditorBytesAndRotatesBackups) {
  openOriginal();
  editor_.setBytes("first\r\n\xe9");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin")), "first\r\n\xe9");
  EXPECT_EQ(readBytes(user("x.bin.bak")), "original");
  EXPECT_FALSE(fs::exists(working("x.xml")));
  EXPECT_EQ(editor_.bytes(), "first\r\n\xe9");
  EXPECT_EQ(busyCalls_, (std::vector<bool>{true, false}));

  editor_.setBytes("second");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin.bak1")), "first\r\n\xe9");
  EXPECT_EQ(readBytes(user("x.bin")), "second");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SaveBinTest, FillsTheFirstFreeBackupNameInOrder) {
  openOriginal();
  writeBytes(user("x.bin.bak"), "b0");
  writeBytes(user("x.bin.bak2"), "b2");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin.bak1")), "original");
  EXPECT_EQ(readBytes(user("x.bin.bak")), "b0");
  EXPECT_EQ(readBytes(user("x.bin.bak2")), "b2");
}

TEST_F(SaveBinTest, AllFiveBackupsTakenRefusesAndChangesNothing) {
  openOriginal();
  for (const char* suffix : {".bak", ".bak1", ".bak2", ".bak3"}) writeBytes(user("x.bin") + suffix, suffix);
  fs::create_directory(user("x.bin.bak4"));  // taken, though not a readable file
  editor_.setBytes("edited");
  saveBin(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Stop);
  expectUntouched(5);
  EXPECT_EQ(readBytes(user("x.bin.bak3")), ".bak3");
  EXPECT_EQ(readBytes(working("x.xml")), "original");  // not even the working XML
}

TEST_F(SaveBinTest, RefusesWithoutAPathOrAConvertedText) {
  openOriginal();
  pathBox_.clear();
  saveBin(ctx_);
  pathBox_.setText(QString::fromStdString(user("x.bin")));
  session_.noConvertedText = true;
  saveBin(ctx_);
  EXPECT_EQ(dialogs_.messages.size(), 2u);
  expectUntouched();
}

TEST_F(SaveBinTest, RejectedXmlPutsTheOriginalBackAndKeepsTheEdit) {
  openOriginal();
  installFakeConverter(
      "case \"$2\" in bin:*) echo \"$1: line 2, column 5: mismatched end tag\" >&2; exit 1;; esac\n"
      "cp \"$1\" \"${2#*:}\"\n");
  editor_.setBytes("<a>\r\n</b>");
  saveBin(ctx_);
  expectUntouched();
  EXPECT_EQ(readBytes(working("x.xml")), "<a>\r\n</b>");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("line 2, column 5: mismatched end tag"));
  EXPECT_TRUE(dialogs_.messages[0].text.contains(QString::fromStdString(user("x.bin"))));
  EXPECT_EQ(busyCalls_, (std::vector<bool>{true, false}));
}

TEST_F(SaveBinTest, MissingConverterPutsTheOriginalBack) {
  openOriginal();
  fs::remove(programFolder_ / "serz");
  saveBin(ctx_);
  expectUntouched();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("could not be started"));
}

TEST_F(SaveBinTest, FailedWriteStopsTheSave) {
  openOriginal();
  fs::remove_all(programFolder_ / "TempFiles");  // removed behind the program's back
  saveBin(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  const std::string xml = working("x.xml");
  const QString text = dialogs_.messages[0].text;
  EXPECT_TRUE(text.endsWith(QString::fromStdString(" occurred in WriteUniFile while processing\r\nfile " + xml)));
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Warning);
  expectUntouched();
}

TEST_F(SaveBinTest, AFileThatCannotBeMovedAsideIsNotConverted) {
  openOriginal();
  if (geteuid() == 0) {
    // Root may rename in a read-only folder; a vanished .bin fails the same way.
    fs::rename(user("x.bin"), user("elsewhere"));
    saveBin(ctx_);
    EXPECT_FALSE(fs::exists(user("x.bin")));
    EXPECT_FALSE(fs::exists(user("x.bin.bak")));
  } else {
    fs::permissions(userFolder_, fs::perms::owner_read | fs::perms::owner_exec);
    saveBin(ctx_);
    expectUntouched();
  }
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("could not be moved aside"));
  EXPECT_TRUE(fs::exists(working("x.xml")));
}

}  // namespace
}  // namespace vantrel::testing
