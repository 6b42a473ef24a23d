#include "GuiFixture.h"

#include <QCoreApplication>
#include <fstream>
#include <iterator>

#include "platform/ui/AnsiText.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Twips.h"

namespace vantrel::testing {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void GuiFixture::SetUp() {
  ASSERT_TRUE(temp_.isValid());
  programFolder_ = fs::path(platform::toNativePath(temp_.path())) / "program";
  fs::create_directories(programFolder_);
  fs::create_directories(winePrefix());
  platform::setProgramFolderForTests(programFolder_.string());
  savedWinePrefix_ = qgetenv("WINEPREFIX");
  qputenv("WINEPREFIX", QByteArray::fromStdString(winePrefix().string()));
  platform::setDialogs(&dialogs_);
}

void GuiFixture::TearDown() {
  platform::setDialogs(nullptr);
  platform::setProgramFolderForTests("");
  if (savedWinePrefix_.isEmpty()) {
    qunsetenv("WINEPREFIX");
  } else {
    qputenv("WINEPREFIX", savedWinePrefix_);
  }
}

std::unique_ptr<shell::Form1> GuiFixture::showMainWindow() {
  auto window = std::make_unique<shell::Form1>();
  window->show();
  QCoreApplication::processEvents();  // lets a restored size meet the frame
  return window;
}

double GuiFixture::twips(const QWidget& widget, int pixels) {
  return platform::pixelsToTwips(pixels, &widget);
}

}  // namespace vantrel::testing
