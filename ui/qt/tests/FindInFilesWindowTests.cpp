// The Find in Files window on Qt, offscreen, over the real engine and the
// real serz: opened from the Tools menu (one window, raised again), Find
// All on real files filling the list, the buttons following the run, and
// a double-click opening the file at the match in the main window.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "platform/editor/Editor.h"
#include "shell/ToolsMenu.h"
#include "tests/shell/FindInFilesFakeEngine.h"
#include "ui/qt/FindInFilesWindow.h"
#include "ui/qt/QtEditorControl.h"
#include "ui/qt/tests/GuiFixture.h"

namespace vantrel::testing {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class FindInFilesWindowTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    fixtures_ = fs::path(VANTREL_SHARED_DIR) / "fixtures" / "real";
    if (!fs::exists(fixtures_ / "ScenarioBeforeSerz.bin"))
      GTEST_SKIP() << "no real fixtures in " << fixtures_;
    searched_ = fs::path(qt::toProgramPath(temp_.path())) / "Content";
    fs::create_directories(searched_ / "Scenarios");
    fs::copy_file(fixtures_ / "ScenarioBeforeSerz.bin", searched_ / "Scenarios" / "Scenario.bin");
    fs::copy_file(fixtures_ / "InitialSave.bin", searched_ / "InitialSave.bin");
    // The fixtures are read-only; the copies are the user's own files.
    for (const char* copy : {"Scenarios/Scenario.bin", "InitialSave.bin"})
      fs::permissions(searched_ / copy, fs::perms::owner_write, fs::perm_options::add);
    fs::create_symlink(SERZ_PATH, programFolder_ / "serz");
    main_ = showMainWindow();
  }
  QAction* findInFilesEntry() const {
    for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i)
      if (std::string(shell::kToolsMenuEntries[i].name) == "mnuFindInFiles")
        return main_->controls().toolEntries[i];
    return nullptr;
  }
  template <class T>
  T* part(const char* name) const {
    return main_->findInFilesWindow()->findChild<T*>(QString::fromLatin1(name));
  }
  // Lets the window's timer take the run's batches until it has ended.
  bool waitForTheRun() {
    QElapsedTimer waited;
    waited.start();
    while (main_->findInFilesWindow()->logic().running()) {
      if (waited.elapsed() > 30'000) return false;
      QTest::qWait(20);
    }
    main_->findInFilesWindow()->poll();
    return true;
  }

  fs::path fixtures_, searched_;
  std::unique_ptr<qt::Form1> main_;
};

TEST_F(FindInFilesWindowTest, ToolsMenuOpensOneModelessWindow) {
  QAction* entry = findInFilesEntry();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text(), QStringLiteral("Find in Files..."));
  EXPECT_EQ(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
  EXPECT_EQ(main_->findInFilesWindow(), nullptr);
  entry->trigger();
  qt::FindInFilesWindow* window = main_->findInFilesWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Find in Files"));
  EXPECT_TRUE(part<QCheckBox>("chkIncludePacked")->isChecked());
  EXPECT_FALSE(part<QCheckBox>("chkMatchCase")->isChecked());
  EXPECT_FALSE(part<QCheckBox>("chkWholeWord")->isChecked());
  EXPECT_TRUE(part<QPushButton>("cmdFindAll")->isEnabled());
  EXPECT_TRUE(part<QPushButton>("cmdReplaceAll")->isEnabled());
  EXPECT_FALSE(part<QPushButton>("cmdStop")->isEnabled());
  EXPECT_FALSE(part<QPushButton>("cmdUndo")->isEnabled());
  const QStringList headers = {QStringLiteral("File"), QStringLiteral("Line"),
                               QStringLiteral("Text")};
  QTableView* results = part<QTableView>("lstResults");
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(results->model()->headerData(i, Qt::Horizontal).toString(), headers[i]);

  // Escape closes it; the menu brings the same window back.
  QTest::keyClick(part<QLineEdit>("txtFind"), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  entry->trigger();
  EXPECT_EQ(main_->findInFilesWindow(), window);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(FindInFilesWindowTest, EnterFindsAllAndADoubleClickOpensTheMatch) {
  findInFilesEntry()->trigger();
  part<QLineEdit>("txtFolder")->setText(qt::fromUtf8(searched_.string()));
  part<QCheckBox>("chkMatchCase")->setChecked(true);
  QLineEdit* find = part<QLineEdit>("txtFind");
  find->setText(QStringLiteral("CreativeRail"));
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_FALSE(part<QPushButton>("cmdFindAll")->isEnabled());
  EXPECT_TRUE(part<QPushButton>("cmdStop")->isEnabled() ||
              !main_->findInFilesWindow()->logic().running());
  ASSERT_TRUE(waitForTheRun());

  // Every occurrence in the scenario's XML is a row (one per line there).
  const std::size_t expected =
      occurrences(readFile(fixtures_ / "ScenarioBeforeSerz.bin.xml"), "CreativeRail");
  ASSERT_GT(expected, 0u);
  QTableView* results = part<QTableView>("lstResults");
  ASSERT_EQ(results->model()->rowCount(), static_cast<int>(expected));
  const QString file = results->model()->index(0, 0).data().toString();
  EXPECT_EQ(file, QStringLiteral("Scenarios/Scenario.bin"));
  EXPECT_TRUE(results->model()->index(0, 2).data().toString().contains("CreativeRail"));
  EXPECT_TRUE(part<QLabel>("lblStatus")
                  ->text()
                  .startsWith(QString::number(expected) +
                              QStringLiteral(" matches in 1 file; 2 files searched")))
      << part<QLabel>("lblStatus")->text().toStdString();
  EXPECT_EQ(part<QProgressBar>("prgFiles")->value(), 2);
  EXPECT_EQ(part<QProgressBar>("prgFiles")->maximum(), 2);
  EXPECT_TRUE(part<QPushButton>("cmdFindAll")->isEnabled());
  EXPECT_FALSE(part<QPushButton>("cmdStop")->isEnabled());

  const int row = static_cast<int>(expected) - 1;
  const long line = results->model()->index(row, 1).data().toString().toLong();
  results->scrollTo(results->model()->index(row, 2));
  QCoreApplication::processEvents();
  const QPoint cell = results->visualRect(results->model()->index(row, 2)).center();
  QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell);
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  const platform::Editor& editor = main_->controls().RichTextBox1->editor();
  EXPECT_EQ(main_->controls().Text1->text().toStdString(),
            (searched_ / "Scenarios" / "Scenario.bin").string());
  EXPECT_EQ(editor.caretLine(), line);
  ASSERT_EQ(editor.selLength(), 12);
  EXPECT_EQ(editor.bytes().substr(static_cast<std::size_t>(editor.selStart()), 12), "CreativeRail");

  // Enter on a row opens it as well; it is not the dialog's Find All.
  results->setCurrentIndex(results->model()->index(0, 0));
  QTest::keyClick(results, Qt::Key_Return);
  EXPECT_FALSE(main_->findInFilesWindow()->logic().running());
  EXPECT_EQ(editor.caretLine(), results->model()->index(0, 1).data().toString().toLong());
  EXPECT_EQ(results->model()->rowCount(), static_cast<int>(expected));
}

// Replace All on a real file: asked with the count, the file rewritten
// with a backup, and Undo last replace putting every byte back.
TEST_F(FindInFilesWindowTest, ReplaceAllWritesWithABackupAndUndoPutsItBack) {
  const QByteArray savedState = qgetenv("VANTREL_STATE_DIR");
  qputenv("VANTREL_STATE_DIR", QByteArray::fromStdString((programFolder_ / "state").string()));
  const fs::path scenario = searched_ / "Scenarios" / "Scenario.bin";
  const std::string original = readFile(scenario);
  const std::size_t expected =
      occurrences(readFile(fixtures_ / "ScenarioBeforeSerz.bin.xml"), "CreativeRail");

  findInFilesEntry()->trigger();
  part<QLineEdit>("txtFolder")->setText(qt::fromUtf8(searched_.string()));
  part<QCheckBox>("chkMatchCase")->setChecked(true);
  part<QLineEdit>("txtFind")->setText(QStringLiteral("CreativeRail"));
  part<QLineEdit>("txtReplace")->setText(QStringLiteral("CreativeRails"));
  dialogs_.questionAnswers = {platform::Answer::Yes};
  part<QPushButton>("cmdReplaceAll")->click();
  ASSERT_TRUE(waitForTheRun());  // the count
  ASSERT_TRUE(waitForTheRun());  // the replace
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Replace " + std::to_string(expected) +
                                       " matches in 1 file? Every file written gets a backup.");
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(part<QLabel>("lblStatus")->text().toStdString(),
            "Replaced: " + std::to_string(expected) + " replacements in 1 file");
  // (Compared as truth values: the files are binary.)
  EXPECT_TRUE(readFile(scenario) != original);
  EXPECT_TRUE(readFile(searched_ / "Scenarios" / "Scenario.bin.bak") == original);
  EXPECT_TRUE(readFile(searched_ / "InitialSave.bin") == readFile(fixtures_ / "InitialSave.bin"));
  ASSERT_TRUE(part<QPushButton>("cmdUndo")->isEnabled());

  dialogs_.questionAnswers = {platform::Answer::Yes};
  part<QPushButton>("cmdUndo")->click();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Put back 1 file.");
  EXPECT_TRUE(readFile(scenario) == original);
  EXPECT_FALSE(part<QPushButton>("cmdUndo")->isEnabled());
  savedState.isEmpty() ? qunsetenv("VANTREL_STATE_DIR") : qputenv("VANTREL_STATE_DIR", savedState);
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// The window's fields and buttons reach the model as they are set, over a
// scripted engine.
class FindInFilesWindowWiringTest : public GuiFixture {};

TEST_F(FindInFilesWindowWiringTest, FieldsAndButtonsReachTheRuns) {
  auto engine = std::make_unique<FakeEngine>();
  FakeEngine& fake = *engine;
  const std::string folder = qt::toProgramPath(temp_.path());
  shell::RunBatch found;
  found.matches.push_back(match(folder + "/a.bin", "", 1, 1, "Kuju", 0, 4));
  found.progress = progress(1, 1, 1, 1);
  found.finished = true;
  fake.findRuns.push_back({shell::RunBatch{}});  // a run that goes on until stopped
  fake.findRuns.push_back({found});
  shell::RunBatch replaced;
  replaced.written.push_back(
      {{folder + "/a.bin", ""}, folder + "/a.bin", folder + "/a.bin.bak", 1});
  replaced.progress = progress(1, 1, 1, 1);
  replaced.finished = true;
  fake.replaceRuns.push_back({replaced});
  qt::FindInFilesWindow window(std::move(engine), &dialogs_, {}, folder, nullptr);
  window.show();
  auto* find = window.findChild<QLineEdit*>(QStringLiteral("txtFind"));
  auto* stop = window.findChild<QPushButton*>(QStringLiteral("cmdStop"));
  EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->text().toStdString(),
            folder);

  find->setText(QStringLiteral("Kuju"));
  window.findChild<QCheckBox*>(QStringLiteral("chkWholeWord"))->setChecked(true);
  window.findChild<QCheckBox*>(QStringLiteral("chkIncludePacked"))->setChecked(false);
  window.findChild<QPushButton*>(QStringLiteral("cmdFindAll"))->click();
  ASSERT_EQ(fake.finds.size(), 1u);
  EXPECT_EQ(fake.finds[0].text, "Kuju");
  EXPECT_TRUE(fake.finds[0].wholeWord);
  EXPECT_FALSE(fake.finds[0].matchCase);
  EXPECT_FALSE(fake.finds[0].includePacked);
  ASSERT_TRUE(stop->isEnabled());
  stop->click();
  EXPECT_EQ(fake.stops, 1);
  window.poll();
  EXPECT_FALSE(stop->isEnabled());

  window.findChild<QLineEdit*>(QStringLiteral("txtReplace"))->setText(QStringLiteral("Acme"));
  dialogs_.questionAnswers = {platform::Answer::Yes};
  window.findChild<QPushButton*>(QStringLiteral("cmdReplaceAll"))->click();
  for (int i = 0; i < 5; ++i) window.poll();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Replace 1 match in 1 file? Every file written gets a backup.");
  ASSERT_EQ(fake.replaces.size(), 1u);
  EXPECT_EQ(fake.replaces[0].replacement, "Acme");
  EXPECT_TRUE(fake.replaces[0].find.wholeWord);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
            QStringLiteral("Replaced: 1 replacement in 1 file"));
}

}  // namespace
}  // namespace vantrel::testing
