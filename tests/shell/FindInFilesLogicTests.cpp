// The Find in Files window's model over a scripted engine: which buttons
// are enabled, the rows and status it gives while a run goes on, the
// questions before a Replace All, stopping, undo, and a double-click that
// opens the match in the main window's editor (with the stand-in
// converter).
#include <gtest/gtest.h>

#include "shell/FindInFilesLogic.h"
#include "shell/MainWindowLogic.h"
#include "tests/archive/ZipBuilder.h"
#include "tests/pipeline/PipelineFixture.h"
#include "tests/shell/FindInFilesFakeEngine.h"

namespace vantrel::testing {
namespace {

using platform::Answer;
using shell::FindInFilesButtons;
using shell::RunBatch;

struct QuietFrame : shell::WindowFrame {
  int focused = 0;
  void setBusy(bool) override {}
  void closeWindow() override {}
  void setTitle(const std::string&) override {}
  void showStatus(const std::string&) override {}
  void focusEditor() override { ++focused; }
  void showFindInFiles() override {}
  void showTexturePreview() override {}
};

constexpr FindInFilesButtons kIdle{true, true, false, false};
constexpr FindInFilesButtons kRunning{false, false, true, false};

class FindInFilesLogicTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    shell::MainWindowParts parts;
    parts.editor = &editor_;
    parts.pathBox = &pathBox_;
    parts.findBox = &findBox_;
    parts.replaceBox = &replaceBox_;
    parts.wholeWordChecked = [] { return false; };
    parts.dialogs = &dialogs_;
    parts.frame = &frame_;
    main_ = std::make_unique<shell::MainWindowLogic>(program_.string(), parts);
    model_ = std::make_unique<shell::FindInFilesLogic>(
        engine_, dialogs_, [this](const shell::FilePlace& place) { main_->openMatch(place); });
    inputs_.folder = platform::utf8FromPath(userFolder_);
    inputs_.findText = "Kuju";
    inputs_.replaceText = "Acme";
  }
  std::string in(const std::string& relative) const { return inputs_.folder + "/" + relative; }

  // A find run of two batches: a match in a loose file, then one in a
  // packed file, a file that could not be read, and the end.
  void queueFind() {
    RunBatch first;
    first.matches.push_back(
        match(in("a/Tree.bin"), "", 7, 12, "\t\t<Provider>Kuju</Provider>\r\n", 12, 4));
    first.progress = progress(1, 3, 1, 1);
    RunBatch second;
    second.matches.push_back(
        match(in("MainContent.ap"), "Scenery/Rock.bin", 3, 5, "<P>Kuju Kuju</P>", 3, 4));
    second.matches.push_back(
        match(in("MainContent.ap"), "Scenery/Rock.bin", 3, 10, "<P>Kuju Kuju</P>", 8, 4));
    second.problems.push_back({in("b/Broken.bin"), "is not a SERZ file"});
    second.progress = progress(3, 3, 3, 2);
    second.finished = true;
    engine_.findRuns.push_back({first, second});
  }
  shell::FindInFilesUpdate pollToEnd() {
    shell::FindInFilesUpdate all;
    for (int i = 0; i < 20 && model_->running(); ++i) {
      shell::FindInFilesUpdate update = model_->poll();
      all.cleared = all.cleared || update.cleared;
      all.newRows.insert(all.newRows.end(), update.newRows.begin(), update.newRows.end());
      all.status = update.status;
      all.filesDone = update.filesDone;
      all.filesFound = update.filesFound;
    }
    return all;
  }

  QuietFrame frame_;
  platform::PlainTextField findBox_, replaceBox_;
  std::unique_ptr<shell::MainWindowLogic> main_;
  FakeEngine engine_;
  std::unique_ptr<shell::FindInFilesLogic> model_;
  shell::FindInFilesInputs inputs_;
};

TEST_F(FindInFilesLogicTest, FindAllFillsTheListWhileItRunsAndEnablesOnlyStop) {
  queueFind();
  EXPECT_EQ(model_->buttons(), kIdle);
  inputs_.matchCase = true;
  inputs_.includePacked = false;
  model_->findAll(inputs_);
  ASSERT_EQ(engine_.finds.size(), 1u);
  EXPECT_EQ(engine_.finds[0].text, "Kuju");
  EXPECT_TRUE(engine_.finds[0].matchCase);
  EXPECT_FALSE(engine_.finds[0].wholeWord);
  EXPECT_FALSE(engine_.finds[0].includePacked);
  EXPECT_EQ(engine_.folders, std::vector<std::string>{inputs_.folder});
  EXPECT_EQ(model_->buttons(), kRunning);

  shell::FindInFilesUpdate update = model_->poll();
  EXPECT_TRUE(update.cleared);
  ASSERT_EQ(update.newRows.size(), 1u);
  // Relative to the folder; the line's leading tabs and its line end cut,
  // the match still marked where it is.
  EXPECT_EQ(update.newRows[0].file, "a/Tree.bin");
  EXPECT_EQ(update.newRows[0].line, "7");
  EXPECT_EQ(update.newRows[0].text, "<Provider>Kuju</Provider>");
  EXPECT_EQ(
      update.newRows[0].text.substr(update.newRows[0].matchStart, update.newRows[0].matchLength),
      "Kuju");
  EXPECT_EQ(update.filesDone, 1u);
  EXPECT_EQ(update.filesFound, 3u);
  EXPECT_EQ(update.status, "Searching... 1 match in 1 file; 1 of 3 files, 2.5 MB/s");
  EXPECT_EQ(model_->buttons(), kRunning);

  update = model_->poll();
  EXPECT_FALSE(update.cleared);
  ASSERT_EQ(update.newRows.size(), 3u);  // only what is new
  EXPECT_EQ(update.newRows[0].file, "MainContent.ap::Scenery/Rock.bin");
  EXPECT_EQ(update.newRows[1].text.substr(update.newRows[1].matchStart, 4), "Kuju");
  EXPECT_EQ(update.newRows[1].matchStart, 8u);
  EXPECT_TRUE(update.newRows[2].problem);
  EXPECT_EQ(update.newRows[2].file, "b/Broken.bin");
  EXPECT_EQ(update.newRows[2].text, "is not a SERZ file");
  EXPECT_EQ(update.status, "3 matches in 2 files; 3 files searched, 2.5 MB/s");
  EXPECT_EQ(model_->buttons(), kIdle);
  EXPECT_TRUE(dialogs_.messages.empty());

  // A match far into a long line keeps a little of what comes before it.
  RunBatch longLine;
  const std::string before = "<e d:id=\"1\">" + std::string(300, 'x') + "\xC3\xBC";
  longLine.matches.push_back(
      match(in("Long.bin"), "", 1, 314, before + "Kuju</e>", before.size(), 4));
  longLine.finished = true;
  engine_.findRuns.push_back({longLine});
  model_->findAll(inputs_);
  update = model_->poll();
  ASSERT_EQ(update.newRows.size(), 1u);
  const shell::ResultRow& cut = update.newRows[0];
  EXPECT_EQ(cut.text, "\xE2\x80\xA6" + std::string(38, 'x') + "\xC3\xBCKuju</e>");
  EXPECT_EQ(cut.text.substr(cut.matchStart, cut.matchLength), "Kuju");

  // A second Find All starts over with an empty list.
  queueFind();
  model_->findAll(inputs_);
  EXPECT_TRUE(model_->poll().cleared);
  EXPECT_EQ(model_->rows().size(), 1u);
}

TEST_F(FindInFilesLogicTest, NothingRunsWithoutAFolderOrAText) {
  shell::FindInFilesInputs bad = inputs_;
  bad.findText.clear();
  model_->findAll(bad);
  bad = inputs_;
  bad.folder = in("not there");
  model_->replaceAll(bad);
  bad.folder.clear();
  model_->findAll(bad);
  EXPECT_TRUE(engine_.finds.empty());
  ASSERT_EQ(dialogs_.messages.size(), 3u);
  EXPECT_EQ(dialogs_.messages[0].text, "Type the text to find in the find box first.");
  EXPECT_EQ(dialogs_.messages[1].text, in("not there") + " is not a folder that can be searched.");
  EXPECT_EQ(dialogs_.messages[2].text, "Choose the folder to search in first.");
  EXPECT_EQ(model_->buttons(), kIdle);
}

TEST_F(FindInFilesLogicTest, StopEndsTheRunAndItsFiguresAreNotReused) {
  RunBatch first;
  first.matches.push_back(match(in("Tree.bin"), "", 1, 1, "Kuju", 0, 4));
  first.progress = progress(1, 50, 1, 1);
  engine_.findRuns.push_back({first});
  model_->findAll(inputs_);
  model_->poll();
  model_->stop();
  EXPECT_EQ(engine_.stops, 1);
  const shell::FindInFilesUpdate update = model_->poll();
  EXPECT_EQ(update.status, "Stopped: 1 match in 1 file; 1 of 50 files searched, 2.5 MB/s");
  EXPECT_EQ(model_->buttons(), kIdle);
  EXPECT_EQ(model_->rows().size(), 1u);

  // Replace All after a stopped search counts again before it asks.
  model_->replaceAll(inputs_);
  EXPECT_EQ(engine_.finds.size(), 2u);
  EXPECT_TRUE(dialogs_.questions.empty());
  EXPECT_EQ(model_->buttons(), kRunning);
}

// After a Find All with the same inputs, Replace All asks at once with its
// figures; packed files are asked about first, and No leaves them out of
// the count and the replace.
TEST_F(FindInFilesLogicTest, ReplaceAllAsksWithTheCountsOfTheLastFindAll) {
  queueFind();
  model_->findAll(inputs_);
  pollToEnd();
  dialogs_.questionAnswers = {Answer::No, Answer::Yes};
  RunBatch done;
  done.written.push_back({{in("a/Tree.bin"), ""}, in("a/Tree.bin"), in("a/Tree.bin.bak"), 1});
  done.progress = progress(1, 1, 1, 1);
  done.finished = true;
  engine_.replaceRuns.push_back({done});
  model_->replaceAll(inputs_);
  EXPECT_EQ(engine_.finds.size(), 1u);  // no second search
  ASSERT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(dialogs_.questions[0],
            "2 matches are in 1 packed file. Write those as loose files beside their packed "
            "files? The packed files stay as they are. No leaves them out.");
  EXPECT_EQ(dialogs_.questions[1], "Replace 1 match in 1 file? Every file written gets a backup.");
  ASSERT_EQ(engine_.replaces.size(), 1u);
  EXPECT_EQ(engine_.replaces[0].find.text, "Kuju");
  EXPECT_EQ(engine_.replaces[0].replacement, "Acme");
  EXPECT_FALSE(engine_.replaces[0].find.includePacked);
  EXPECT_FALSE(engine_.replaces[0].writeLoose);
  EXPECT_EQ(model_->buttons(), kRunning);

  engine_.undoable = true;  // the replace was recorded
  const shell::FindInFilesUpdate update = model_->poll();
  EXPECT_EQ(update.status, "Replaced: 1 replacement in 1 file");
  EXPECT_EQ(model_->buttons(), (FindInFilesButtons{true, true, false, true}));
  EXPECT_TRUE(dialogs_.messages.empty());

  // The files changed: the next Replace All searches again, and Yes to the
  // packed question writes them loose.
  queueFind();
  model_->replaceAll(inputs_);
  EXPECT_EQ(engine_.finds.size(), 2u);
  dialogs_.questionAnswers = {Answer::Yes, Answer::Yes};
  pollToEnd();
  EXPECT_EQ(dialogs_.questions[3],
            "Replace 3 matches in 2 files? Every file written gets a backup.");
  ASSERT_EQ(engine_.replaces.size(), 2u);
  EXPECT_TRUE(engine_.replaces[1].find.includePacked);
  EXPECT_TRUE(engine_.replaces[1].writeLoose);
}

TEST_F(FindInFilesLogicTest, ChangedInputsSearchFirstAndNoReplacesNothing) {
  queueFind();
  model_->findAll(inputs_);
  pollToEnd();
  inputs_.wholeWord = true;
  queueFind();
  model_->replaceAll(inputs_);
  EXPECT_EQ(engine_.finds.size(), 2u);
  EXPECT_TRUE(engine_.finds[1].wholeWord);
  EXPECT_TRUE(dialogs_.questions.empty());  // asked once the count is known
  dialogs_.questionAnswers = {Answer::Yes, Answer::No};
  pollToEnd();
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_TRUE(engine_.replaces.empty());
  EXPECT_EQ(model_->buttons(), kIdle);

  // Cancel on the packed question asks nothing more.
  dialogs_.questionAnswers = {Answer::Cancel};
  model_->replaceAll(inputs_);
  EXPECT_EQ(dialogs_.questions.size(), 3u);
  EXPECT_TRUE(engine_.replaces.empty());

  // Nothing found: said, nothing asked.
  engine_.findRuns.push_back({RunBatch{{}, {}, {}, progress(2, 2, 0, 0), true}});
  inputs_.findText = "Nowhere";
  model_->replaceAll(inputs_);
  pollToEnd();
  EXPECT_EQ(dialogs_.questions.size(), 3u);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "\"Nowhere\" is not in any file under " + inputs_.folder +
                                           ": there is nothing to replace.");
}

// The window's timer goes on while a question asked from poll() is open:
// those polls take nothing from the run and leave what the window shows,
// and no command starts meanwhile.
TEST_F(FindInFilesLogicTest, PollsWhileAQuestionIsOpenChangeNothing) {
  struct AskingDialogs : platform::ScriptedDialogs {
    std::function<void()> onAsk;
    Answer ask(const std::string& text, bool withCancel) override {
      if (onAsk) onAsk();
      return ScriptedDialogs::ask(text, withCancel);
    }
  } asking;
  shell::FindInFilesLogic model(engine_, asking, {});
  std::vector<shell::FindInFilesUpdate> during;
  asking.onAsk = [&] {
    during.push_back(model.poll());
    model.findAll(inputs_);
    model.replaceAll(inputs_);
  };
  queueFind();
  model.replaceAll(inputs_);
  for (int i = 0; i < 5; ++i) model.poll();
  ASSERT_EQ(asking.questions.size(), 1u);  // the packed question, then Cancel
  ASSERT_EQ(during.size(), 1u);
  EXPECT_EQ(during[0].status, "3 matches in 2 files; 3 files searched, 2.5 MB/s");
  EXPECT_EQ(during[0].filesDone, 3u);
  EXPECT_EQ(during[0].filesFound, 3u);
  EXPECT_EQ(engine_.finds.size(), 1u);
  EXPECT_TRUE(engine_.replaces.empty());
}

TEST_F(FindInFilesLogicTest, FilesAReplaceCouldNotWriteAreListedWithTheirReasons) {
  const auto numbered = [](int i) { return std::string("f").append(std::to_string(i)) + ".bin"; };
  RunBatch found;
  for (int i = 0; i < 25; ++i)
    found.matches.push_back(match(in(numbered(i)), "", 1, 1, "Kuju", 0, 4));
  found.progress = progress(25, 25, 25, 25);
  found.finished = true;
  engine_.findRuns.push_back({found});
  RunBatch replaced;
  replaced.written.push_back({{in("f0.bin"), ""}, in("f0.bin"), in("f0.bin.bak"), 1});
  for (int i = 1; i < 25; ++i) replaced.problems.push_back({in(numbered(i)), "is read-only"});
  replaced.progress = progress(25, 25, 1, 1);
  replaced.finished = true;
  engine_.replaceRuns.push_back({replaced});
  dialogs_.questionAnswers = {Answer::Yes};
  model_->replaceAll(inputs_);
  pollToEnd();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  const std::string& text = dialogs_.messages[0].text;
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_TRUE(text.starts_with("Replaced 1 match in 1 file. 24 files were left as they were:\r\n" +
                               in("f1.bin") + ": is read-only\r\n"))
      << text;
  EXPECT_TRUE(contains(text, in("f20.bin") + ": is read-only\r\n... and 4 more files."));
  EXPECT_FALSE(contains(text, in("f21.bin")));
}

TEST_F(FindInFilesLogicTest, UndoAsksAndReportsWhatWasPutBack) {
  engine_.undoable = true;
  model_->folderChanged(inputs_.folder);
  EXPECT_EQ(model_->buttons(), (FindInFilesButtons{true, true, false, true}));
  dialogs_.questionAnswers = {Answer::No};
  model_->undoLastReplace(inputs_.folder);
  EXPECT_EQ(engine_.undos, 0);

  engine_.undoReport.restored = {in("a.bin"), in("b.bin")};
  engine_.undoReport.left = {{in("c.bin"), "has changed since the replace"}};
  dialogs_.questionAnswers = {Answer::Yes};
  model_->undoLastReplace(inputs_.folder);
  EXPECT_EQ(engine_.undos, 1);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Put back 2 files. These were left as they are:\r\n" +
                                           in("c.bin") + ": has changed since the replace");
  EXPECT_EQ(model_->buttons(), kIdle);

  // Another folder has nothing to undo.
  model_->folderChanged(in("a"));
  EXPECT_FALSE(model_->buttons().undo);
}

// A double-click opens the file through the main window (any extension
// opens as a .bin) and selects the match in the editor.
TEST_F(FindInFilesLogicTest, ADoubleClickOpensTheFileAtTheMatch) {
  installConverter();
  main_->load();
  fs::create_directories(userFolder_ / "a");
  writeBytes(in("a/Tree.xyz"), "SERZ<a>\r\n  <b>x Kuju</b>\r\n</a>\r\n");
  RunBatch found;
  found.problems.push_back({in("b/Broken.bin"), "is not a SERZ file"});
  found.matches.push_back(match(in("a/Tree.xyz"), "", 2, 8, "  <b>x Kuju</b>", 7, 4));
  found.finished = true;
  engine_.findRuns.push_back({found});
  model_->findAll(inputs_);
  pollToEnd();
  ASSERT_EQ(model_->rows().size(), 2u);
  ASSERT_TRUE(model_->rows()[1].problem);

  model_->activate(1);  // a problem row opens nothing
  model_->activate(7);  // nor a row that is not there
  EXPECT_TRUE(editor_.bytes().empty());

  model_->activate(0);
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(pathBox_.text(), in("a/Tree.xyz"));
  EXPECT_EQ(main_->document().kind(), pipeline::Document::Kind::Bin);
  EXPECT_EQ(editor_.selStart(), 12);
  EXPECT_EQ(editor_.selLength(), 4);
  EXPECT_EQ(frame_.focused, 1);

  // Unsaved changes are asked about; Cancel stays.
  editor_.setSelText("Acme");
  dialogs_.questionAnswers = {Answer::Cancel};
  model_->activate(0);
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Save changes to Tree.xyz?");
  EXPECT_TRUE(contains(editor_.bytes(), "x Acme"));
}

#ifdef VANTREL_PACKED_TESTS
TEST_F(FindInFilesLogicTest, AMatchInAPackedFileOpensThatMemberWithoutThePicker) {
  installConverter();
  main_->load();
  const std::string archive = in("MainContent.ap");
  {
    test::ZipBuilder zip(archive);
    zip.add("Scenery/Tree.bin", "SERZtree");
    zip.add("Scenery/Rock.bin", "SERZ<r>\r\n<p>Kuju</p>\r\n");
    zip.close();
  }
  RunBatch found;
  found.matches.push_back(match(archive, "Scenery/Rock.bin", 2, 4, "<p>Kuju</p>", 3, 4));
  found.matches.push_back(match(archive, "Scenery/Gone.bin", 1, 1, "Kuju", 0, 4));
  found.finished = true;
  engine_.findRuns.push_back({found});
  model_->findAll(inputs_);
  pollToEnd();
  model_->activate(0);
  EXPECT_TRUE(dialogs_.memberTitles.empty());  // no picker
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(main_->document().kind(), pipeline::Document::Kind::ArchiveMember);
  EXPECT_EQ(pathBox_.text(), in("Scenery/Rock.bin"));
  EXPECT_EQ(editor_.selStart(), 8);
  EXPECT_EQ(editor_.selLength(), 4);

  // A member no longer in the packed file is refused; the document stays.
  model_->activate(1);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text,
            "Scenery/Gone.bin was not opened: MainContent.ap no longer holds it as a file the "
            "editor can open.");
  EXPECT_EQ(main_->document().kind(), pipeline::Document::Kind::ArchiveMember);
  EXPECT_EQ(pathBox_.text(), in("Scenery/Rock.bin"));
}
#endif

}  // namespace
}  // namespace vantrel::testing
