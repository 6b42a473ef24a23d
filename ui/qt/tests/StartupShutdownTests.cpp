// Loading and closing the main window: the settings file, the working
// folder, the simulator folder, the reports when files fail, and Open .bin
// with the real converter.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <functional>

#include "GuiFixture.h"
#include "shell/Registry.h"
#include "shell/WindowPlacement.h"
#include "tests/support/FakeSteamHome.h"
#include "ui/qt/QtEditorControl.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtWindowPlacement.h"
#include "ui/qt/frmAbout.h"

namespace vantrel::testing {
namespace {

class StartupAndShutdown : public GuiFixture {
 protected:
  // The outer frame in whole twips, as the settings file holds it.
  static QRect frameTwips(const QWidget& w) {
    const QRect f = w.frameGeometry();
    auto t = [&](int px) { return static_cast<int>(std::lround(twips(w, px))); };
    return QRect(t(f.left()), t(f.top()), t(f.width()), t(f.height()));
  }
};

TEST_F(StartupAndShutdown, SavedGeometryAndViewerPathComeBackAndAreWrittenUnchanged) {
  const std::pair<const char*, const char*> cases[] = {
      {"13500,7200,1500,1200,\"/opt/view, er/i_view32.exe\"\r\n", "/opt/view, er/i_view32.exe"},
      {"13500,7200,1500,1200\r\n", ""},  // no path: geometry only
  };
  for (const auto& [line, viewer] : cases) {
    SCOPED_TRACE(line);
    writeFile(preferences(), line);
    auto window = showMainWindow();
    EXPECT_EQ(frameTwips(*window), QRect(1200, 1500, 13500, 7200));
    EXPECT_EQ(window->logic().viewerPath(), viewer);
    window->close();
    EXPECT_EQ(readFile(preferences()), "13500,7200,1500,1200,\"" + std::string(viewer) + "\"\r\n");
  }
}

// No settings file (the first run) or an unusable one: design size, start-up
// goes on, and closing writes the window as it is.
TEST_F(StartupAndShutdown, MissingOrUnusableSettingsKeepTheDesignSize) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, ""},                            // first run
      {"40000,6000,1500,1200,\"/v\"\r\n", ""},  // not a 16-bit number: path ignored too
      {"9000,x,1500,1200,\"/v\"\r\n", ""},      // not a number
      {"13500,7200\r\n", ""},                   // ends before the position
      {"0,0,0,0,\"/v\"\r\n", "/v"},             // a window of no size
  };
  for (const auto& [line, viewer] : cases) {
    SCOPED_TRACE(line ? line : "no file");
    line ? writeFile(preferences(), line) : void(fs::remove(preferences()));
    fs::remove_all(workingFolder());
    auto window = showMainWindow();
    EXPECT_NEAR(twips(*window, window->centralWidget()->width()), 12450, 15);
    EXPECT_NEAR(twips(*window, window->centralWidget()->height()), 10140, 15);
    EXPECT_EQ(window->logic().viewerPath(), viewer);
    EXPECT_TRUE(window->logic().simulatorFolder().empty());
    EXPECT_TRUE(fs::is_directory(workingFolder()));
    const QRect f = frameTwips(*window);
    window->close();
    EXPECT_EQ(readFile(preferences()), std::to_string(f.width()) + ',' +
                                           std::to_string(f.height()) + ',' +
                                           std::to_string(f.top()) + ',' +
                                           std::to_string(f.left()) + ",\"" + viewer + "\"\r\n");
  }
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(StartupAndShutdown, PositionOffEveryScreenIsNotRestored) {
  writeFile(preferences(), "13500,7200,30000,30000,\"\"\r\n");
  auto window = showMainWindow();
  EXPECT_EQ(frameTwips(*window).size(), QSize(13500, 7200));
  EXPECT_TRUE(
      shell::titleBarReachable(qt::toPixelRect(window->frameGeometry()), qt::currentScreenAreas()));
}

TEST_F(StartupAndShutdown, MaximizedOrMinimizedWindowSavesItsNormalGeometry) {
  const std::string line = "13500,7200,1500,1200,\"\"\r\n";
  for (const bool maximize : {false, true}) {
    SCOPED_TRACE(maximize ? "maximized" : "minimized");
    writeFile(preferences(), line);
    auto window = showMainWindow();
    const QSize normal = window->frameGeometry().size();
    maximize ? window->showMaximized() : window->showMinimized();
    auto changed = [&] {
      return maximize ? window->isMaximized() && window->frameGeometry().size() != normal
                      : window->isMinimized();
    };
    QDeadlineTimer deadline(5000);
    while (!changed() && !deadline.hasExpired()) QTest::qWait(10);
    // Without a window manager an X server maximizes nothing.
    if (!changed()) GTEST_SKIP() << "the window system did not change the window's state";
    window->close();
    EXPECT_EQ(readFile(preferences()), line);
  }
}

TEST_F(StartupAndShutdown, FilesThatCannotBeWrittenAreReported) {
  writeFile(workingFolder(), "a file where the folder belongs");
  fs::create_directory(preferences());  // a folder where the file belongs
  auto window = showMainWindow();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.find("TempFiles") != std::string::npos);
  EXPECT_TRUE(window->isVisible());
  window->close();
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_TRUE(dialogs_.messages[1].text.find("preferences.txt") != std::string::npos);
  EXPECT_EQ(dialogs_.messages[1].icon, platform::MessageIcon::Warning);
}

TEST_F(StartupAndShutdown, SimulatorFolderComesFromTheRegistry) {
  writeFile(winePrefix() / "system.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
            "[Software\\\\Rail Simulator\\\\Packager Manager\\\\Installation] 1700000000\n"
            "@=\"C:\\\\Games\\\\RailSim\"\n\n");
  auto window = showMainWindow();
  EXPECT_EQ(window->logic().simulatorFolder(),
            shell::mapWindowsPathIntoPrefix(winePrefix().string(), "C:\\Games\\RailSim"));
}

// Most Linux players have the simulator from Steam, run through Proton.
TEST_F(StartupAndShutdown, WithoutARegistryFolderTheGameFoundThroughSteamIsTheSimulatorFolder) {
  const fs::path steam = home() / ".local" / "share" / "Steam";
  const fs::path game = FakeSteamHome::addGame(steam, "RailWorks");
  auto window = showMainWindow();
  EXPECT_EQ(window->logic().simulatorFolder(), fs::canonical(game).string());
}

TEST_F(StartupAndShutdown, OpenBinShowsTheConvertedXmlInTheEditor) {
  const fs::path fixture = fs::path(VANTREL_SHARED_DIR) / "fixtures" / "serz" / "ScenaryItem.bin";
  if (!fs::exists(fixture)) GTEST_SKIP() << "fixture folder absent: " << fixture;
  if (!fs::exists(SERZ_PATH)) GTEST_SKIP() << "serz not built";
  fs::copy_file(SERZ_PATH, programFolder_ / "serz");
  const fs::path bin = programFolder_.parent_path() / "ScenaryItem.bin";
  fs::copy_file(fixture, bin);

  auto window = showMainWindow();
  dialogs_.answers.push_back(bin.string());
  window->controls().Command1->click();

  EXPECT_EQ(window->controls().Text1->text().toStdString(), bin.string());
  const std::string text = window->controls().RichTextBox1->editor().bytes();
  EXPECT_EQ(text.rfind("<?xml", 0), 0u) << text.substr(0, 200);
  EXPECT_NE(text.find("AP Tree Near Beech 1"), std::string::npos);
  EXPECT_TRUE(window->controls().Command1->isEnabled()) << "the busy state must end";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor must end";
  // Deliberately in the editor, at the top of the text.
  EXPECT_EQ(window->focusWidget(), window->controls().RichTextBox1);
  EXPECT_EQ(window->controls().RichTextBox1->editor().selStart(), 0);
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("Vantrel bin file editor and texture viewer - ScenaryItem.bin"));
  for (const auto& m : dialogs_.messages) ADD_FAILURE() << "message: " << m.text;
}

// While the converter runs the mouse shows the busy cursor.
TEST_F(StartupAndShutdown, BusyStateShowsTheWaitCursor) {
  auto window = showMainWindow();
  window->setBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_FALSE(window->controls().Command3->isEnabled());
  EXPECT_TRUE(window->controls().RichTextBox1->editor().isReadOnly());
  window->setBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(window->controls().Command3->isEnabled());
}

}  // namespace
}  // namespace vantrel::testing

namespace vantrel::testing {
namespace {

// Files from outside: named on the command line (as "Open with" passes
// them) or dropped on the window, on the editor too. The title names the
// file and marks unsaved changes, and a close with unsaved changes asks.
class FilesFromOutside : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (!fs::exists(SERZ_PATH)) GTEST_SKIP() << "serz not built";
    fs::copy_file(SERZ_PATH, programFolder_ / "serz");
    xml_ = programFolder_.parent_path() / "Z\xC3\xBCrich Hbf.xml";
    writeFile(xml_, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet/>\r\n");
  }
  static void waitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  fs::path xml_;
};

TEST_F(FilesFromOutside, ACommandLineFileOpensOnceTheWindowShows) {
  qt::frmAbout about;
  about.start({QStringLiteral("Vantrel_BIN_Editor"), qt::fromUtf8(xml_.string())});
  ASSERT_NE(about.mainWindow(), nullptr);
  qt::Form1& window = *about.mainWindow();
  waitFor([&] { return window.controls().RichTextBox1->editor().length() > 0; });
  EXPECT_EQ(window.controls().RichTextBox1->editor().bytes().substr(0, 5), "<?xml");
  EXPECT_EQ(window.windowTitle(),
            QStringLiteral("Vantrel bin file editor and texture viewer - Z\u00FCrich Hbf.xml"));
  EXPECT_EQ(window.controls().Text1->text(), qt::fromUtf8(xml_.string()));
  EXPECT_TRUE(dialogs_.messages.empty());
  window.hide();
}

TEST_F(FilesFromOutside, ADroppedFileOpensAndUnsavedChangesAskBeforeClosing) {
  auto window = showMainWindow();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(qt::fromUtf8(xml_.string()))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window->controls().RichTextBox1->viewport(), &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window->controls().RichTextBox1->viewport(), &drop);
  waitFor([&] { return window->controls().RichTextBox1->editor().length() > 0; });
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(window->controls().RichTextBox1->editor().bytes().substr(0, 5), "<?xml");

  window->controls().RichTextBox1->setFocus();
  QTest::keyClicks(window->controls().RichTextBox1, "x");
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" - Z\u00FCrich Hbf.xml *")))
      << window->windowTitle().toStdString();

  dialogs_.questionAnswers = {platform::Answer::Cancel};
  window->close();
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0], "Save changes to Z\xC3\xBCrich Hbf.xml?");
  dialogs_.questionAnswers = {platform::Answer::No};
  window->close();
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace vantrel::testing
