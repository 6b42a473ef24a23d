#ifndef _WIN32
#include <unistd.h>
#endif

#include <functional>

#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using namespace pipeline;

// With the copying converter a rebuilt .bin holds exactly the saved text.
class SaveBinTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    installConverter();
    writeBytes(user("x.bin"), "original");
    choose(user("x.bin"));
    openBin(ctx_);
    ASSERT_EQ(editor_.bytes(), "original");
    busy_.clear();
  }
  // The .bin as it was, and nothing else beside it but `others` files.
  void expectBinUnchanged(std::size_t others = 0) {
    EXPECT_EQ(readBytes(user("x.bin")), "original");
    auto entries = fs::directory_iterator(userFolder_);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(begin(entries), end(entries))), others + 1);
  }
};

TEST_F(SaveBinTest, WritesTheEditorBytesAndRotatesBackups) {
  editor_.setBytes("first\r\n\xe9");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin")), "SERZfirst\r\n\xe9");
  EXPECT_EQ(readBytes(user("x.bin.bak")), "original");
  EXPECT_FALSE(fs::exists(working("x.xml")));
  EXPECT_EQ(busy_, (std::vector<bool>{true, false}));
  editor_.setBytes("second");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin.bak1")), "SERZfirst\r\n\xe9");
  EXPECT_EQ(readBytes(user("x.bin")), "SERZsecond");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SaveBinTest, FillsTheFirstFreeBackupNameAndRefusesWhenAllAreTaken) {
  writeBytes(user("x.bin.bak"), "b0");
  writeBytes(user("x.bin.bak2"), "b2");
  saveBin(ctx_);
  EXPECT_EQ(readBytes(user("x.bin.bak1")), "original");
  EXPECT_EQ(readBytes(user("x.bin.bak2")), "b2");

  writeBytes(user("x.bin"), "original");
  writeBytes(user("x.bin.bak3"), "b3");
  fs::create_directory(user("x.bin.bak4"));  // taken, though not a readable file
  fs::remove(working("x.xml"));
  saveBin(ctx_);
  EXPECT_EQ(onlyMessage().icon, platform::MessageIcon::Stop);
  expectBinUnchanged(5);
  EXPECT_FALSE(fs::exists(working("x.xml")));  // not even the working XML
}

TEST_F(SaveBinTest, RefusesWithoutAFileToRebuild) {
  fs::create_directory(user("folder.bin"));
  editor_.setBytes("edited");
  for (const std::string& path : {std::string(), (user("folder.bin")), (user("gone.bin"))}) {
    pathBox_.setText(path);
    saveBin(ctx_);
  }
  document_ = Document();  // as before any open
  pathBox_.setText((user("x.bin")));
  saveBin(ctx_);
  ASSERT_EQ(dialogs_.messages.size(), 4u);
  EXPECT_EQ(dialogs_.messages[2].icon, platform::MessageIcon::Stop);
  expectBinUnchanged(1);
  EXPECT_EQ(readBytes(working("x.xml")), "original");  // not even the working XML
}

#ifndef _WIN32
// Every way a save can fail leaves the .bin as it was and keeps the edit.
TEST_F(SaveBinTest, EveryFailureLeavesTheBinAsItWas) {
  const std::vector<std::pair<std::string, std::function<void()>>> failures = {
      {"could not be started", [&] { fs::remove(program_ / "serz"); }},
      {"line 2, column 5: mismatched end tag",
       [&] {
         installConverter("echo \"$1: line 2, column 5: mismatched end tag\" >&2\nexit 1\n");
       }},
      {"could not be moved aside",  // root may rename in a read-only folder
       [&] { fs::permissions(userFolder_, fs::perms::owner_read | fs::perms::owner_exec); }},
  };
  for (const auto& [expected, breakIt] : failures) {
    if (expected == "could not be moved aside" && geteuid() == 0) continue;
    SCOPED_TRACE(expected);
    dialogs_.messages.clear();
    breakIt();
    editor_.setBytes("<a>\r\n</b>");
    saveBin(ctx_);
    EXPECT_TRUE(contains(onlyMessage().text, expected));
    EXPECT_TRUE(contains(onlyMessage().text, user("x.bin")));
    expectBinUnchanged();
    EXPECT_EQ(readBytes(working("x.xml")), "<a>\r\n</b>");
    EXPECT_EQ(busy_.back(), false);
  }
}
#endif

TEST_F(SaveBinTest, FailedWriteStopsTheSave) {
  fs::remove_all(program_ / "TempFiles");  // removed behind the program's back
  saveBin(ctx_);
  EXPECT_TRUE(endsWith(onlyMessage().text,
                       " occurred in WriteUniFile while processing\r\nfile " + working("x.xml")));
  EXPECT_EQ(onlyMessage().icon, platform::MessageIcon::Warning);
  expectBinUnchanged();
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

#ifndef _WIN32
// A converter that fails after writing part of the .bin, or that is killed,
// or that "succeeds" without writing the format: the .bin stays
// byte-identical and the edit stays in the working XML.
TEST_F(SaveBinTest, AFailingConverterNeverCostsTheBinOrTheEdit) {
  const std::pair<const char*, const char*> converters[] = {
      {"partial then exit 1", "printf PARTIAL > \"${2#bin:}\"\necho 'disk full' >&2\nexit 1\n"},
      {"partial then killed", "printf PARTIAL > \"${2#bin:}\"\nkill -9 $$\n"},
      {"exit 0, not the format", "printf '<xml/>' > \"${2#bin:}\"\n"},
      {"exit 0, empty output", ": > \"${2#bin:}\"\n"},
  };
  for (const auto& [what, body] : converters) {
    SCOPED_TRACE(what);
    dialogs_.messages.clear();
    installConverter(body);
    editor_.setBytes("<edited/>");
    EXPECT_FALSE(saveBin(ctx_));
    EXPECT_TRUE(contains(onlyMessage().text, "x.bin could not be written: "));
    EXPECT_TRUE(contains(onlyMessage().text, "was left unchanged"));
    expectBinUnchanged();
    EXPECT_EQ(readBytes(working("x.xml")), "<edited/>");
  }
}

// Stopping the converter (or a converter that hangs until stopped) leaves
// the .bin where it was, with no backup and no half-written new version.
TEST_F(SaveBinTest, AStoppedConverterLeavesTheBinWhereItWas) {
  installConverter("printf SERZpart > \"${2#bin:}\"\nsleep 30\n");
  editor_.setBytes("<edited/>");
  int asked = 0;
  ctx_.keepConverting = [&](std::chrono::milliseconds) { return ++asked < 3; };
  const Outcome outcome = saveBin(ctx_);
  EXPECT_EQ(outcome.kind, Outcome::Kind::Cancelled);
  EXPECT_EQ(asked, 3);
  EXPECT_TRUE(dialogs_.messages.empty());
  expectBinUnchanged();
  EXPECT_EQ(readBytes(working("x.xml")), "<edited/>");
}

// A leftover of an earlier, interrupted save is never written over.
TEST_F(SaveBinTest, ATakenNameForTheNewVersionIsLeftAlone) {
  writeBytes(user("x.saving.bin"), "mine");
  editor_.setBytes("edited");
  ASSERT_TRUE(saveBin(ctx_));
  EXPECT_EQ(readBytes(user("x.saving.bin")), "mine");
  EXPECT_EQ(readBytes(user("x.bin")), "SERZedited");
  EXPECT_FALSE(exists(user("x.saving2.bin")));
}

TEST_F(SaveBinTest, ThroughALinkTheFileItPointsToIsBackedUpAndRebuilt) {
  fs::create_directory(user("real"));
  fs::rename(user("x.bin"), user("real/x.bin"));
  fs::create_symlink("real/x.bin", user("x.bin"));
  editor_.setBytes("edited");
  ASSERT_TRUE(saveBin(ctx_));
  EXPECT_TRUE(fs::is_symlink(user("x.bin")));
  EXPECT_EQ(readBytes(user("real/x.bin")), "SERZedited");
  EXPECT_EQ(readBytes(user("real/x.bin.bak")), "original");
  EXPECT_FALSE(fs::exists(user("x.bin.bak")));
}
#endif

// With all five backup names taken the oldest may go, but only on Yes.
TEST_F(SaveBinTest, AllFiveBackupsTakenAsksBeforeReplacingTheOldest) {
  const char* suffixes[] = {".bak", ".bak1", ".bak2", ".bak3", ".bak4"};
  const auto now = fs::file_time_type::clock::now();
  for (int i = 0; i < 5; ++i) {
    writeBytes(user(std::string("x.bin") + suffixes[i]), suffixes[i]);
    fs::last_write_time(user(std::string("x.bin") + suffixes[i]), now - std::chrono::hours(10 - i));
  }
  fs::last_write_time(user("x.bin.bak2"), now - std::chrono::hours(100));  // the oldest
  editor_.setBytes("edited");

  dialogs_.questionAnswers = {platform::Answer::No};
  EXPECT_FALSE(saveBin(ctx_));
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_TRUE(contains(dialogs_.questions[0],
                       "All five backups of x.bin exist. Replace the oldest (x.bin.bak2, "));
  EXPECT_EQ(onlyMessage().icon, platform::MessageIcon::Stop);
  expectBinUnchanged(5);

  dialogs_.messages.clear();
  dialogs_.questionAnswers = {platform::Answer::Yes};
  EXPECT_EQ(saveBin(ctx_).news, user("x.bin.bak2"));
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(readBytes(user("x.bin.bak2")), "original");
  EXPECT_EQ(readBytes(user("x.bin")), "SERZedited");
  EXPECT_EQ(readBytes(user("x.bin.bak")), ".bak");
}

#ifndef _WIN32
TEST_F(SaveBinTest, AnEmptyEditorHasNoTextToSaveAndNoConverterRuns) {
  installConverter("touch \"$0.ran\"\n");
  editor_.setBytes("");
  EXPECT_FALSE(saveBin(ctx_));
  EXPECT_EQ(onlyMessage().text, "There is no text to save.");
  EXPECT_FALSE(fs::exists(program_ / "serz.ran"));
  expectBinUnchanged();
}
#endif

#ifdef _WIN32
// Reported, so that a run on Windows says what it left out.
TEST(SaveBinOnWindows, ShellScriptCasesRunOnLinuxOnly) {
  GTEST_SKIP() << "Failing, killed, wrongly writing and never-started converters, a read-only "
                  "folder and a symbolic link: their stand-ins are POSIX shell scripts and rights";
}
#endif

}  // namespace
}  // namespace vantrel::testing
