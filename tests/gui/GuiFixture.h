#pragma once
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/ui/Dialogs.h"
#include "shell/window/Form1.h"

namespace vantrel::testing {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& bytes);

// A temporary program folder, an empty Wine prefix (no simulator folder),
// scripted dialogs. Windows are real, offscreen.
class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  fs::path preferences() const { return programFolder_ / "preferences.txt"; }
  fs::path workingFolder() const { return programFolder_ / "TempFiles"; }
  fs::path winePrefix() const { return programFolder_.parent_path() / "wine"; }

  // A main window loaded from the program folder as it is now, shown.
  std::unique_ptr<shell::Form1> showMainWindow();
  // Pixels of that window in twips.
  static double twips(const QWidget& widget, int pixels);

  QTemporaryDir temp_;
  fs::path programFolder_;
  platform::ScriptedDialogs dialogs_;

 private:
  QByteArray savedWinePrefix_;
};

}  // namespace vantrel::testing
