// Loading and closing the main window: the settings file, the working
// folder, the simulator folder, the reports when files fail; a real .bin
// opened with serz.exe through the button, the command line and a drop;
// the title and the question about unsaved changes.
#include "WindowFixture.h"

#include <shlobj.h>

#include <cstdlib>

#include "shell/WindowPlacement.h"
#include "ui/win32/AboutDialog.h"
#include "ui/win32/ScreenPlacement.h"

namespace vantrel::testing {
namespace {

using StartupAndShutdown = WindowFixture;

// The test keys of scripts/windows-tests.sh are in the registry.
bool testKeysInRegistry() { return std::getenv("VANTREL_TEST_REGISTRY_KEYS") != nullptr; }

TEST_F(StartupAndShutdown, SavedGeometryAndViewerPathComeBackAndAreWrittenUnchanged) {
  const std::pair<const char*, const char*> cases[] = {
      {"12900,9000,1500,1200,\"C:\\view, er\\i_view32.exe\"\r\n", "C:\\view, er\\i_view32.exe"},
      {"12900,9000,1500,1200\r\n", ""},  // no path: geometry only
  };
  for (const auto& [line, viewer] : cases) {
    SCOPED_TRACE(line);
    writeFile(preferences(), line);
    auto window = showMainWindow();
    EXPECT_EQ(frameTwips(window->hwnd()), "12900,9000,1500,1200");
    EXPECT_EQ(window->logic().viewerPath(), viewer);
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window->isOpen());
    EXPECT_EQ(readFile(preferences()), "12900,9000,1500,1200,\"" + std::string(viewer) + "\"\r\n");
  }
}

// No settings file (the first run) or an unusable one: design size, start-up
// goes on, and closing writes the window as it is.
TEST_F(StartupAndShutdown, MissingOrUnusableSettingsKeepTheDesignSize) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, ""},                               // first run
      {"40000,6000,1500,1200,\"C:\\v\"\r\n", ""},  // not a 16-bit number: path ignored too
      {"9000,x,1500,1200,\"C:\\v\"\r\n", ""},      // not a number
      {"9000,6000\r\n", ""},                       // ends before the position
      {"0,0,0,0,\"C:\\v\"\r\n", "C:\\v"},          // a window of no size
  };
  for (const auto& [line, viewer] : cases) {
    SCOPED_TRACE(line ? line : "no file");
    line ? writeFile(preferences(), line) : void(fs::remove(preferences()));
    fs::remove_all(workingFolder());
    auto window = showMainWindow();
    EXPECT_NEAR(clientTwips(window->hwnd()).first, 12450, 15);
    EXPECT_NEAR(clientTwips(window->hwnd()).second, 10140, 15);
    EXPECT_EQ(window->logic().viewerPath(), viewer);
    if (testKeysInRegistry()) {
      EXPECT_EQ(window->logic().simulatorFolder(), "C:\\Games\\RailSim");
    }
    EXPECT_TRUE(fs::is_directory(workingFolder()));
    const std::string frame = frameTwips(window->hwnd());
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(readFile(preferences()), frame + ",\"" + viewer + "\"\r\n");
  }
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(StartupAndShutdown, PositionOffEveryScreenIsNotRestored) {
  writeFile(preferences(), "12900,9000,30000,30000,\"\"\r\n");
  auto window = showMainWindow();
  EXPECT_EQ(frameTwips(window->hwnd()).substr(0, 11), "12900,9000,");
  EXPECT_TRUE(
      shell::titleBarReachable(win32::normalFrame(window->hwnd()), win32::screenWorkAreas()));
}

TEST_F(StartupAndShutdown, MaximizedOrMinimizedWindowSavesItsNormalGeometry) {
  const std::string line = "12900,9000,1500,1200,\"\"\r\n";
  for (const int state : {SW_MAXIMIZE, SW_MINIMIZE}) {
    SCOPED_TRACE(state == SW_MAXIMIZE ? "maximized" : "minimized");
    writeFile(preferences(), line);
    auto window = showMainWindow();
    ShowWindow(window->hwnd(), state);
    pump();
    ASSERT_TRUE(state == SW_MAXIMIZE ? IsZoomed(window->hwnd()) : IsIconic(window->hwnd()));
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(readFile(preferences()), line);
  }
}

TEST_F(StartupAndShutdown, FilesThatCannotBeWrittenAreReported) {
  writeFile(workingFolder(), "a file where the folder belongs");
  fs::create_directory(preferences());  // a folder where the file belongs
  auto window = showMainWindow();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].text.find("TempFiles"), std::string::npos);
  EXPECT_TRUE(IsWindowVisible(window->hwnd()));
  SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_NE(dialogs_.messages[1].text.find("preferences.txt"), std::string::npos);
  EXPECT_EQ(dialogs_.messages[1].icon, platform::MessageIcon::Warning);
}

// A real .bin through the real serz.exe beside the program, opened the
// three ways a user can: the "....." button, the command line, a drop.
class OpeningARealBin : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    std::string shared = VANTREL_SHARED_DIR;
    if (!shared.empty() && shared.front() == '/') shared = "Z:" + shared;  // Linux paths under Wine
    const fs::path fixture = fs::path(shared) / "fixtures" / "serz" / "ScenaryItem.bin";
    if (!fs::exists(fixture)) GTEST_SKIP() << "fixture folder absent: " << fixture.string();
    fs::copy_file(SERZ_PATH, programFolder_ / "serz.exe");
    bin_ = root_ / "my files" / "ScenaryItem.bin";
    fs::create_directories(bin_.parent_path());
    fs::copy_file(fixture, bin_);
  }
  // The document is in the editor, the window no longer busy, the focus in
  // the editor at the top of the text, the title naming the file.
  void expectOpened(win32::MainWindow& window) {
    ASSERT_TRUE(pumpUntil([&] { return window.editor().length() > 0 && !window.isBusy(); }));
    const std::string text = window.editor().bytes();
    EXPECT_EQ(text.rfind("<?xml", 0), 0u) << text.substr(0, 200);
    EXPECT_NE(text.find("AP Tree Near Beech 1"), std::string::npos);
    EXPECT_EQ(textOf(window.controls()[shell::kPathBox]), bin_.string());
    EXPECT_EQ(textOf(window.hwnd()),
              "Vantrel bin file editor and texture viewer - ScenaryItem.bin");
    EXPECT_EQ(focused(), window.controls().editor->hwnd());
    EXPECT_EQ(window.editor().selStart(), 0);
    EXPECT_TRUE(IsWindowEnabled(window.controls()[shell::controlIndex("Command1")]));
    for (const auto& m : dialogs_.messages) ADD_FAILURE() << "message: " << m.text;
  }
  fs::path bin_;
};

TEST_F(OpeningARealBin, ThroughTheBrowseButton) {
  auto window = showMainWindow();
  dialogs_.answers.push_back(bin_.string());
  SendMessageW(window->controls()[shell::controlIndex("Command1")], BM_CLICK, 0, 0);
  expectOpened(*window);
  EXPECT_EQ(dialogs_.fileRequests.at(0).title, "Open Vantrel .bin file");
}

TEST_F(OpeningARealBin, FromTheCommandLine) {
  win32::AboutDialog about;
  about.start({bin_.string()});
  ASSERT_NE(about.mainWindow(), nullptr);
  expectOpened(*about.mainWindow());
  EXPECT_TRUE(dialogs_.fileRequests.empty()) << "no dialog";
}

TEST_F(OpeningARealBin, DroppedOnTheWindow) {
  auto window = showMainWindow();
  dropFile(window->hwnd(), bin_.string());
  expectOpened(*window);
}

// A file dropped on the editor opens (an XML file as it is, without a
// converter); typing marks the title, and closing then asks about the
// unsaved changes: Cancel keeps the window, No closes it.
TEST_F(StartupAndShutdown, ADroppedFileOpensAndUnsavedChangesAskBeforeClosing) {
  const std::string name = "Z\xC3\xBCrich Hbf.xml";
  const fs::path xml = root_ / platform::pathFromUtf8(name);
  writeFile(xml, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet/>\r\n");
  auto window = showMainWindow();
  dropFile(window->controls().editor->hwnd(), platform::utf8FromPath(xml));
  ASSERT_TRUE(pumpUntil([&] { return window->editor().length() > 0; }));
  EXPECT_EQ(textOf(window->controls()[shell::kPathBox]), platform::utf8FromPath(xml));
  EXPECT_EQ(focused(), window->controls().editor->hwnd());

  window->editor().setSelStart(window->editor().length());
  typeKey('X');
  EXPECT_EQ(textOf(window->hwnd()), "Vantrel bin file editor and texture viewer - " + name + " *");
  dialogs_.questionAnswers = {platform::Answer::Cancel, platform::Answer::No};
  SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window->isOpen());
  EXPECT_FALSE(fs::exists(preferences()));
  SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window->isOpen());
  ASSERT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(dialogs_.questions[0], "Save changes to " + name + "?");
  EXPECT_TRUE(fs::exists(preferences()));
  EXPECT_TRUE(dialogs_.messages.empty());
}

// Windows shutting down asks as a close does; Cancel keeps the session,
// and once it ends the settings are written.
TEST_F(StartupAndShutdown, ShuttingWindowsDownAsksAboutUnsavedChangesAndSavesTheSettings) {
  auto window = showMainWindow();
  SetFocus(window->controls().editor->hwnd());
  typeKey('X');
  dialogs_.questionAnswers = {platform::Answer::Cancel, platform::Answer::No};
  EXPECT_EQ(SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_FALSE(fs::exists(preferences()));
  SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(readFile(preferences()), frameTwips(window->hwnd()) + ",\"\"\r\n");
}

}  // namespace
}  // namespace vantrel::testing
