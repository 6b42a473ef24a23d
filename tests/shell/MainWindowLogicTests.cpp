// What the main window does beyond single commands: the unsaved-changes
// question, the title, feedback after a save, files from outside. On a real
// editor control, with scripted dialogs, a stand-in window frame and a
// stand-in converter.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "shell/MainWindowControls.h"
#include "shell/MainWindowLogic.h"
#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using platform::Answer;

// Records what the logic asks of the window.
struct RecordingFrame : shell::WindowFrame {
  std::vector<std::string> titles, statuses;
  int focusedEditor = 0, closed = 0, findInFilesShown = 0, previewShown = 0;
  // What the user does once the next conversion has started, while the
  // window keeps handling events.
  std::function<void()> whileConverting;
  std::function<void(const std::string&)> onTitle;
  void setBusy(bool busy) override {
    if (busy && whileConverting) std::exchange(whileConverting, nullptr)();
  }
  void closeWindow() override { ++closed; }
  void setTitle(const std::string& title) override {
    titles.push_back(title);
    if (onTitle) onTitle(title);
  }
  void showStatus(const std::string& text) override { statuses.push_back(text); }
  void focusEditor() override { ++focusedEditor; }
  void showFindInFiles() override { ++findInFilesShown; }
  void showTexturePreview() override { ++previewShown; }
};

class MainWindowLogicTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    installConverter();
    writeBytes(user("x.bin"), "original");
    writeBytes(user("other.dat"), "other");
    shell::MainWindowParts parts;
    parts.editor = &editor_;
    parts.pathBox = &pathBox_;
    parts.findBox = &findBox_;
    parts.replaceBox = &replaceBox_;
    parts.wholeWordChecked = [] { return false; };
    parts.dialogs = &dialogs_;
    parts.frame = &frame_;
    logic_ = std::make_unique<shell::MainWindowLogic>(program_.string(), parts);
    logic_->load();
  }
  // The user types into the editor.
  void type(const std::string& text) {
    editor_.setSelText(text);
    logic_->modifiedChanged();
  }
  std::string title() const { return frame_.titles.empty() ? "" : frame_.titles.back(); }

  static constexpr const char* kTitle = "Vantrel bin file editor and texture viewer";
  RecordingFrame frame_;
  platform::PlainTextField findBox_, replaceBox_;
  std::unique_ptr<shell::MainWindowLogic> logic_;
};

TEST_F(MainWindowLogicTest, TitleNamesTheFileAndMarksUnsavedChanges) {
  EXPECT_EQ(title(), kTitle);
  choose(user("x.bin"));
  logic_->openBin();
  EXPECT_EQ(title(), std::string(kTitle) + " - x.bin");
  EXPECT_EQ(frame_.focusedEditor, 1);
  EXPECT_EQ(editor_.selStart(), 0);
  type("new ");
  EXPECT_EQ(title(), std::string(kTitle) + " - x.bin *");

  logic_->saveBin();
  EXPECT_EQ(title(), std::string(kTitle) + " - x.bin");
  ASSERT_EQ(frame_.statuses.size(), 1u);
  EXPECT_EQ(frame_.statuses[0], "Saved x.bin; the previous version is x.bin.bak");
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(dialogs_.questions.empty());  // nothing was unsaved when asked

  logic_->clear();
  EXPECT_EQ(title(), kTitle);
}

// Yes saves and goes on only when the save worked; No discards; Cancel
// stays. Each action that would drop the text asks.
TEST_F(MainWindowLogicTest, UnsavedChangesAreNeverDroppedWithoutAnAnswer) {
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");

  dialogs_.questionAnswers = {Answer::Cancel, Answer::Cancel, Answer::Cancel};
  logic_->openBin();
  logic_->viewOtherFiles();
  logic_->clear();
  EXPECT_FALSE(logic_->confirmClose());
  ASSERT_EQ(dialogs_.questions.size(), 4u);
  EXPECT_EQ(dialogs_.questions[0], "Save changes to x.bin?");
  EXPECT_TRUE(dialogs_.fileRequests.size() == 1);  // no dialog after Cancel
  EXPECT_EQ(editor_.bytes(), "edited original");

  // Yes: Save .bin runs first, then the open goes on.
  dialogs_.questionAnswers = {Answer::Yes};
  choose(user("other.dat"));
  logic_->viewOtherFiles();
  EXPECT_EQ(readBytes(user("x.bin")), "SERZedited original");
  EXPECT_EQ(readBytes(user("x.bin.bak")), "original");
  EXPECT_EQ(editor_.bytes(), "other");

  // After View other files, Yes offers Save As, and a cancelled Save As
  // stays.
  type("more ");
  dialogs_.questionAnswers = {Answer::Yes};
  EXPECT_FALSE(logic_->confirmClose());
  EXPECT_TRUE(dialogs_.fileRequests.back().save);
  choose(user("kept.txt"));
  dialogs_.questionAnswers = {Answer::Yes};
  EXPECT_TRUE(logic_->confirmClose());
  EXPECT_EQ(readBytes(user("kept.txt")), "more other");

  // No discards.
  type("again ");
  dialogs_.questionAnswers = {Answer::No};
  logic_->clear();
  EXPECT_EQ(editor_.bytes(), "");
  EXPECT_TRUE(dialogs_.messages.empty());
}

#ifndef _WIN32  // the failing converter is a shell script
// A save that fails keeps the user where they were.
TEST_F(MainWindowLogicTest, YesWithAFailingSaveStays) {
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");
  installConverter("exit 1\n");
  dialogs_.questionAnswers = {Answer::Yes};
  EXPECT_FALSE(logic_->confirmClose());
  EXPECT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(readBytes(user("x.bin")), "original");
  EXPECT_EQ(editor_.bytes(), "edited original");
}

#endif

// Files from the command line or dropped on the window: a .bin opens as
// Open .bin does, anything else as View other files does, without a dialog.
TEST_F(MainWindowLogicTest, FilesFromOutsideOpenWithoutADialog) {
  writeBytes(user("Y.BIN"), "bin text");
  logic_->openFile(user("Y.BIN"));
  EXPECT_EQ(editor_.bytes(), "bin text");
  EXPECT_EQ(pathBox_.text(), user("Y.BIN"));
  EXPECT_EQ(logic_->document().kind(), pipeline::Document::Kind::Bin);
  EXPECT_EQ(logic_->document().workingXml(), "Y.xml");

  logic_->openFile(user("other.dat"));
  EXPECT_EQ(editor_.bytes(), "other");
  EXPECT_EQ(logic_->document().kind(), pipeline::Document::Kind::OtherFile);
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  EXPECT_EQ(title(), std::string(kTitle) + " - other.dat");
  EXPECT_EQ(frame_.focusedEditor, 2);
}

// Go to Line asks for a number between 1 and the line count; Cancel keeps
// the caret where it was.
TEST_F(MainWindowLogicTest, GoToLineAsksAndMovesTheCaret) {
  editor_.setBytes("one\r\ntwo\r\nthree\r\n");
  dialogs_.numberAnswers = {3, std::nullopt};
  logic_->goToLine();
  EXPECT_EQ(editor_.caretLine(), 3);
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Go to Line: Line number (1 - 4):");
  logic_->goToLine();
  EXPECT_EQ(editor_.caretLine(), 3);
}

TEST_F(MainWindowLogicTest, ExitClosesTheWindowWhichThenAsks) {
  logic_->exit();
  EXPECT_EQ(frame_.closed, 1);
  EXPECT_TRUE(logic_->confirmClose());  // nothing to save: no question
  EXPECT_TRUE(dialogs_.questions.empty());
}

// One command at a time: while Save .bin converts, a dropped file (also
// the open file itself), the buttons and the Yes of a question are refused
// with a message, and the save goes on to its end untouched.
TEST_F(MainWindowLogicTest, CommandsDuringAConversionAreRefused) {
  fs::create_directory(user("B"));
  writeBytes(user("B/x.bin"), "the other file");
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");
  frame_.whileConverting = [this] {
    EXPECT_TRUE(logic_->commandRunning());
    logic_->openFile(user("B/x.bin"));
    logic_->openFile(user("x.bin"));
    logic_->saveBin();
    logic_->clear();
    logic_->find();
    // The texture tools too, before they look at the text.
    logic_->showTexturePreview();
    logic_->exportDds();
    logic_->importPng();
    logic_->openMatch({user("x.bin"), "", 1, 1, 4});  // a Find in Files result
  };
  logic_->saveBin();
  ASSERT_EQ(dialogs_.messages.size(), 9u);
  for (const auto& message : dialogs_.messages)
    EXPECT_EQ(message.text, "x.bin is still being converted.");
  EXPECT_TRUE(dialogs_.questions.empty());
  EXPECT_EQ(readBytes(user("x.bin")), "SERZedited original");
  EXPECT_EQ(readBytes(user("x.bin.bak")), "original");
  EXPECT_FALSE(exists(user("x.bin.bak1")));
  EXPECT_EQ(readBytes(user("B/x.bin")), "the other file");
  EXPECT_EQ(editor_.bytes(), "edited original");
  EXPECT_FALSE(editor_.isModified());
  EXPECT_FALSE(logic_->commandRunning());
  logic_->openFile(user("B/x.bin"));  // refused no longer
  EXPECT_EQ(editor_.bytes(), "the other file")
      << (dialogs_.messages.size() > 8 ? dialogs_.messages.back().text : "no message");
}

// Exit during a save, answered No: the save runs once to its end, then the
// window closes (nothing is left unsaved, so nothing more is asked).
TEST_F(MainWindowLogicTest, ExitDuringASaveAnsweredNoClosesWhenItEnds) {
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");
  dialogs_.questionAnswers = {Answer::No};
  frame_.whileConverting = [this] {
    EXPECT_FALSE(logic_->confirmClose());
    EXPECT_EQ(frame_.closed, 0);
  };
  logic_->saveBin();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0],
            "x.bin is still being converted. Stop the converter and put x.bin back as it was?");
  EXPECT_EQ(frame_.closed, 1);
  EXPECT_EQ(readBytes(user("x.bin")), "SERZedited original");
  EXPECT_FALSE(exists(user("x.bin.bak1")));  // the converter ran once
  EXPECT_TRUE(logic_->confirmClose());
  EXPECT_EQ(dialogs_.questions.size(), 1u);
}

// Exit answered Yes: the converter stops, the .bin is as it was, and the
// close asks about the unsaved edit once.
TEST_F(MainWindowLogicTest, ExitDuringASaveAnsweredYesStopsAndPutsTheBinBack) {
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");
  dialogs_.questionAnswers = {Answer::Yes};
  frame_.whileConverting = [this] { EXPECT_FALSE(logic_->confirmClose()); };
  logic_->saveBin();
  EXPECT_EQ(frame_.closed, 1);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(readBytes(user("x.bin")), "original");
  EXPECT_FALSE(exists(user("x.bin.bak")));
  EXPECT_FALSE(exists(user("x.saving.bin")));
  EXPECT_TRUE(editor_.isModified());
  dialogs_.questionAnswers = {Answer::No};
  EXPECT_TRUE(logic_->confirmClose());  // the window's close, after closeWindow()
  ASSERT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(dialogs_.questions[1], "Save changes to x.bin?");
}

// A converter that does not end: after a while the title says so, and Esc
// (answered Yes) stops it, leaving the .bin as it was.
TEST_F(MainWindowLogicTest, ALongConversionShowsItAndEscStopsIt) {
  choose(user("x.bin"));
  logic_->openBin();
  type("edited ");
#ifdef _WIN32
  writeBytes(program_ / "serz.hold", "");  // the stand-in waits while it lies there
#else
  installConverter(std::string("while :; do sleep 0.05; done\n"));
#endif
  dialogs_.questionAnswers = {Answer::Yes};
  frame_.onTitle = [this](const std::string& title) {
    if (title == "Converting x.bin... (Esc stops)") logic_->escape();
  };
  logic_->saveBin();
  frame_.onTitle = nullptr;
  EXPECT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(readBytes(user("x.bin")), "original");
  EXPECT_FALSE(exists(user("x.bin.bak")));
  EXPECT_EQ(title(), std::string(kTitle) + " - x.bin *");
  ASSERT_FALSE(frame_.statuses.empty());
  EXPECT_EQ(frame_.statuses.back(), "x.bin was not saved and is as it was");
  EXPECT_EQ(frame_.closed, 0);
#ifdef _WIN32
  fs::remove(program_ / "serz.hold");
#endif
}

}  // namespace
}  // namespace vantrel::testing
