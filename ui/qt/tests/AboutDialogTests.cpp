// The About dialog: what it shows, OK, the command line, closing it.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "GuiFixture.h"
#include "ui/qt/Form1.h"
#include "ui/qt/frmAbout.h"

namespace vantrel::testing {
namespace {

using qt::frmAbout;
using AboutDialog = GuiFixture;

QString labelText(const frmAbout& about, const char* name) {
  const auto* label = about.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing>");
}

TEST_F(AboutDialog, ShowsIdentityThenOkOpensTheOneMainWindow) {
  frmAbout about;
  about.start({QStringLiteral("Vantrel_BIN_Editor")});
  ASSERT_TRUE(about.isVisible());
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Vantrel_BIN_Editor"));
  EXPECT_EQ(labelText(about, "lblTitle"), QStringLiteral("Vantrel_BIN_Editor for Vista & XP"));
  EXPECT_EQ(labelText(about, "lblVersion"), QStringLiteral("Version 1.0.8"));
  EXPECT_TRUE(labelText(about, "lblDisclaimer").endsWith(QStringLiteral("\r\n\r\n")));
  EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull())
      << "the picture resource is not linked in";
  // Where the designed fonts are missing, the one-line texts must still fit.
  for (const QLabel* label : about.findChildren<QLabel*>()) {
    if (label->wordWrap()) continue;
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
    EXPECT_TRUE(about.rect().contains(label->geometry())) << label->objectName().toStdString();
  }

  EXPECT_EQ(about.mainWindow(), nullptr);
  auto* ok = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
  ASSERT_EQ(ok->text(), QStringLiteral("OK"));
  QTest::mouseClick(ok, Qt::LeftButton);
  qt::Form1* first = about.mainWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(about.isVisible());
  ok->click();
  EXPECT_EQ(about.mainWindow(), first) << "only one main window";
}

// Closing without OK opens nothing; any command-line text skips the dialog.
TEST_F(AboutDialog, EscapeOpensNothingAndCommandLineTextOpensTheMainWindowAtOnce) {
  frmAbout closed;
  closed.start({QStringLiteral("Vantrel_BIN_Editor")});
  QTest::keyClick(&closed, Qt::Key_Escape);
  EXPECT_FALSE(closed.isVisible());
  EXPECT_EQ(closed.mainWindow(), nullptr);
  EXPECT_FALSE(fs::exists(preferences()));

  frmAbout withText;
  withText.start({QStringLiteral("Vantrel_BIN_Editor"), QStringLiteral("x")});
  EXPECT_FALSE(withText.isVisible());
  ASSERT_NE(withText.mainWindow(), nullptr);
  EXPECT_TRUE(withText.mainWindow()->isVisible());
}

}  // namespace
}  // namespace vantrel::testing
