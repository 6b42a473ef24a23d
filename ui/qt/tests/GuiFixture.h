#pragma once
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/core/ProgramFolder.h"
#include "platform/window/Dialogs.h"
#include "ui/qt/Form1.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Twips.h"

namespace vantrel::testing {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A temporary program folder, an empty Wine prefix and an empty home folder
// (no simulator folder, not even one found through the user's own Steam),
// scripted dialogs. Windows are real, offscreen.
class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    programFolder_ = fs::path(qt::toProgramPath(temp_.path())) / "program";
    fs::create_directories(programFolder_);
    fs::create_directories(winePrefix());
    platform::setProgramFolderForTests(programFolder_.string());
    savedWinePrefix_ = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QByteArray::fromStdString(winePrefix().string()));
    fs::create_directories(home());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home().string()));
    platform::setDialogsOverride(&dialogs_);
  }
  void TearDown() override {
    platform::setDialogsOverride(nullptr);
    platform::setProgramFolderForTests("");
    savedWinePrefix_.isEmpty() ? qunsetenv("WINEPREFIX") : qputenv("WINEPREFIX", savedWinePrefix_);
    savedHome_.isEmpty() ? qunsetenv("HOME") : qputenv("HOME", savedHome_);
  }

  fs::path preferences() const { return programFolder_ / "preferences.txt"; }
  fs::path workingFolder() const { return programFolder_ / "TempFiles"; }
  fs::path winePrefix() const { return programFolder_.parent_path() / "wine"; }
  fs::path home() const { return programFolder_.parent_path() / "home"; }

  // A main window loaded from the program folder as it is now, shown.
  std::unique_ptr<qt::Form1> showMainWindow() {
    auto window = std::make_unique<qt::Form1>();
    window->show();
    QCoreApplication::processEvents();  // lets a restored size meet the frame
    return window;
  }
  // Pixels of that window in twips.
  static double twips(const QWidget& w, int pixels) { return qt::pixelsToTwips(pixels, &w); }

  QTemporaryDir temp_;
  fs::path programFolder_;
  platform::ScriptedDialogs dialogs_;

 private:
  QByteArray savedWinePrefix_;
  QByteArray savedHome_;
};

}  // namespace vantrel::testing
