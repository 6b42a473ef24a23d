#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"
#include "pipeline/myfile.h"
#include "platform/core/MessagePump.h"
#include "platform/core/Process.h"
#include "platform/core/RunProgram.h"
#include "platform/core/WideText.h"

using namespace vantrel;
using vantrel::test::TempFolder;

namespace {

std::string quote(const std::string& s) { return "\"" + s + "\""; }

// Counts how often the waiting loop lets window messages through.
class RunAndWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setMessagePump([this] { ++pumped; });
  }
  void TearDown() override { platform::setMessagePump({}); }

  std::string child(const std::string& args) const {
    return quote(test::helperProgram()) + " " + args;
  }

  int pumped = 0;
};

}  // namespace

TEST_F(RunAndWaitTest, MissingProgramGivesZeroWithoutWaiting) {
  EXPECT_EQ(RunAndWait("no-such-program-vantrel.exe a b", True, 0), 0);
  EXPECT_EQ(RunAndWait(quote(TempFolder().file("missing.exe")), True, 0), 0);
  EXPECT_EQ(RunAndWait("", True, 0), 0);
  EXPECT_EQ(pumped, 0);  // returned before the first pause
}

TEST_F(RunAndWaitTest, ProgramThatEndsAtOnceReturnsAfterAPauseWithItsId) {
  EXPECT_GT(RunAndWait(child("exit 0"), True, 0), 0);
  EXPECT_GE(pumped, 1);
  int before = pumped;
  // Exit code 259 must not look like a running program; pump false processes no messages.
  EXPECT_GT(RunAndWait(child("exit 259"), False, 1), 0);
  EXPECT_EQ(pumped, before);
}

TEST_F(RunAndWaitTest, WaitsUntilTheProgramHasEnded) {
  TempFolder dir;
  EXPECT_GT(RunAndWait(child("late " + quote(dir.file("late.txt"))), True, 0), 0);
  EXPECT_EQ(test::readFile(dir.file("late.txt")), "done\n");
  // It waits between checks instead of spinning, which would take the
  // converter's processor (the program runs 300 ms; a check every 50 ms),
  // also when it keeps the program's standard error, as for the converter.
  EXPECT_LT(pumped, 60);
  pumped = 0;
  platform::RunOptions capture;
  capture.captureErrors = true;
  EXPECT_TRUE(
      platform::runProgram(child("late " + quote(dir.file("late2.txt"))), capture).succeeded());
  EXPECT_LT(pumped, 60);
}

TEST_F(RunAndWaitTest, ArgumentsSplitByTheWindowsRulesReachAProgramByPathWithBlanksOrBareName) {
  TempFolder dir;
  const auto folder = dir.path() / "with blank";
  std::filesystem::create_directory(folder);
  const std::string name = std::string("cwd_only_child") + test::kExeSuffix;
  std::filesystem::copy_file(test::helperProgram(), folder / name);
  const std::string args =
      " args " + quote(dir.file("o.txt")) + " \"a b\" xml:\"C:\\x y\\z.xml\" \\\"q";
  EXPECT_GT(RunAndWait(quote((folder / name).string()) + args, True, 0), 0);
  EXPECT_EQ(test::readFile(dir.file("o.txt")), "a b\nxml:C:\\x y\\z.xml\n\"q\n");

  test::CurrentFolder current(folder);
  EXPECT_GT(RunAndWait(name + " args found.txt", True, 0), 0);
  EXPECT_TRUE(std::filesystem::exists(folder / "found.txt"));
#ifndef _WIN32
  // serz.exe that is not there falls back to serz.
  EXPECT_GT(RunAndWait("cwd_only_child.exe args fallback.txt", True, 0), 0);
  EXPECT_TRUE(std::filesystem::exists(folder / "fallback.txt"));
#endif
}

// The command line is UTF-8; a program in a folder named beyond ASCII
// starts, and its arguments arrive whole (on Windows: outside the ANSI code
// page too).
TEST_F(RunAndWaitTest, NamesBeyondAsciiReachTheProgram) {
  TempFolder dir;
  const std::string folder = dir.file("K\xC4\x85ty Z\xC3\xBCrich");  // Kąty Zürich
  std::filesystem::create_directory(platform::pathFromUtf8(folder));
  const std::string name = std::string("child") + test::kExeSuffix;
  const std::filesystem::path program = platform::pathFromUtf8(folder) / name;
  std::filesystem::copy_file(test::helperProgram(), program);
  const std::string argument =
      "M\xC3\xBCnchen \xCE\xB1\xCE\xB8 \xF0\x9F\x9A\x82";  // München αθ, an emoji
  EXPECT_GT(RunAndWait(quote(platform::utf8FromPath(program)) + " args " +
                           quote(dir.file("o.txt")) + " " + quote(argument),
                       True, 0),
            0);
  EXPECT_EQ(test::readFile(dir.file("o.txt")), argument + "\n");
}

// runProgram, under RunAndWait: the exit status and standard error, which
// tell the program's own verdict and reason.
TEST_F(RunAndWaitTest, ExitStatusAndStandardErrorUpToTheLimit) {
  platform::RunOptions capture;
  capture.captureErrors = true;
  auto said = platform::runProgram(child("say \"bad header at byte 12\""), capture);
  EXPECT_TRUE(said.started);
  EXPECT_GT(said.processId, 0u);
  EXPECT_EQ(said.exitCode, 1);
  EXPECT_FALSE(said.succeeded());
  EXPECT_EQ(said.errorOutput, "bad header at byte 12");

  // Far more than a pipe holds: must neither block the program nor grow past the limit.
  auto flood = platform::runProgram(child("flood 1000000"), capture);
  EXPECT_TRUE(flood.succeeded());
  EXPECT_EQ(flood.errorOutput, std::string(platform::kErrorOutputLimit, 'e'));

#ifdef _WIN32
  const int codes[] = {0, 3, 259};  // 259 is also Windows' "still running"
#else
  const int codes[] = {0, 3, 200};
#endif
  for (int code : codes)
    EXPECT_EQ(platform::runProgram(child("exit " + std::to_string(code)), {}).exitCode, code);

  const auto missing = platform::runProgram("no-such-program-vantrel", capture);
  EXPECT_FALSE(missing.started);
  EXPECT_FALSE(missing.exitCode.has_value());
}

// A pause ends when the program does: a short conversion is never kept
// waiting for the rest of a pause (here one of a minute).
TEST_F(RunAndWaitTest, WaitingEndsWhenTheProgramEnds) {
  for (const bool capture : {false, true}) {
    auto process = platform::ChildProcess::start(child("exit 0"), 0, capture);
    ASSERT_TRUE(process);
    const auto started = std::chrono::steady_clock::now();
    // A pause may also end early for other reasons (standard error, a
    // signal): the caller checks and waits again.
    while (!process->hasEnded() &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(30))
      process->waitForEnd(std::chrono::minutes(1));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_TRUE(process->hasEnded()) << "capture " << capture;
    EXPECT_EQ(process->exitCode(), 0);
  }
}

#ifndef _WIN32
// A Windows build of the converter put into the program folder is preferred
// to ours and runs through Wine. scripts/windows-tests.sh points this at the
// cross-built helper program.
TEST_F(RunAndWaitTest, WindowsProgramRunsThroughWine) {
  const char* windowsChild = std::getenv("VANTREL_TEST_WINDOWS_CHILD");
  if (!windowsChild) GTEST_SKIP() << "no cross-built helper program given";
  TempFolder dir;
  std::filesystem::copy_file(windowsChild, dir.path() / "serz.exe");
  test::writeFile(dir.file("serz"), "#!/bin/sh\necho ours > out.txt\n");  // must not be chosen
  std::filesystem::permissions(dir.path() / "serz", std::filesystem::perms::owner_all);
  test::CurrentFolder current(dir.path());
  EXPECT_GT(RunAndWait("serz.exe args out.txt \"a b\" xml:\"C:\\x\"", True, 0), 0);
  EXPECT_EQ(test::readFile(dir.file("out.txt")), "a b\nxml:C:\\x\n");
}
#endif
