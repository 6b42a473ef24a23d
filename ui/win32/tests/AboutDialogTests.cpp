// The About dialog: what it shows, OK, Enter and Escape, the command line.
#include "WindowFixture.h"
#include "ui/win32/AboutDialog.h"

namespace vantrel::testing {
namespace {

using win32::AboutDialog;
using AboutDialogTest = WindowFixture;

TEST_F(AboutDialogTest, ShowsIdentityThenOkOpensTheOneMainWindow) {
  AboutDialog about;
  about.start({});
  ASSERT_TRUE(IsWindowVisible(about.hwnd()));
  EXPECT_EQ(textOf(about.hwnd()), "About Vantrel_BIN_Editor");
  EXPECT_EQ(textOf(about.control("lblTitle")), "Vantrel_BIN_Editor for Vista & XP");
  EXPECT_EQ(textOf(about.control("lblVersion")), "Version 1.0.8");
  const std::string notice = textOf(about.control("lblDisclaimer"));
  EXPECT_EQ(notice.substr(notice.size() - 4), "\r\n\r\n");
  EXPECT_NE(SendMessageW(about.control("Image1"), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
      << "the picture resource is not linked in";

  // Every label inside the dialog, its one-line texts within their width.
  RECT client{};
  GetClientRect(about.hwnd(), &client);
  for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblCredit1", "lblCredit2",
                           "lblContact1", "lblContact2", "lblDisclaimer", "cmdOK", "Image1"}) {
    SCOPED_TRACE(name);
    const HWND control = about.control(name);
    ASSERT_NE(control, nullptr);
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, about.hwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_GE(place.left, 0);
    EXPECT_LE(place.right, client.right);
    EXPECT_LE(place.bottom, client.bottom);
    if (GetWindowLongW(control, GWL_STYLE) & SS_LEFTNOWORDWRAP) {
      HDC dc = GetDC(control);
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
      const std::wstring text = platform::utf8ToWide(textOf(control));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      ReleaseDC(control, dc);
      EXPECT_LE(size.cx, place.right - place.left);
    }
  }
  // The design size in twips.
  EXPECT_NEAR(clientTwips(about.hwnd()).first, 6165, 15);
  EXPECT_NEAR(clientTwips(about.hwnd()).second, 4560, 15);

  const HWND ok = about.control("cmdOK");
  EXPECT_EQ(textOf(ok), "OK");
  EXPECT_EQ(about.mainWindow(), nullptr);
  SendMessageW(ok, BM_CLICK, 0, 0);
  win32::MainWindow* first = about.mainWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first->hwnd()));
  EXPECT_EQ(about.hwnd(), nullptr) << "the dialog closes";
  about.pressOk();
  EXPECT_EQ(about.mainWindow(), first) << "only one main window";
}

// Enter presses OK; Escape closes the dialog and opens nothing, and the
// program is told that no window is left.
TEST_F(AboutDialogTest, EnterPressesOkAndEscapeEndsWithoutAMainWindow) {
  for (const WORD key : {VK_RETURN, VK_ESCAPE}) {
    SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Escape");
    AboutDialog about;
    int finished = 0;
    about.setOnFinished([&] { ++finished; });
    about.start({});
    SetForegroundWindow(about.hwnd());
    pump();
    EXPECT_EQ(focused(), about.control("cmdOK"));
    typeKey(key);
    EXPECT_EQ(about.hwnd(), nullptr);
    EXPECT_EQ(about.mainWindow() != nullptr, key == VK_RETURN);
    EXPECT_EQ(finished, key == VK_RETURN ? 0 : 1);
    if (about.mainWindow()) {
      SendMessageW(about.mainWindow()->hwnd(), WM_CLOSE, 0, 0);
      EXPECT_EQ(finished, 1) << "closing the main window ends the program";
    }
  }
  EXPECT_TRUE(fs::exists(preferences())) << "written as the main window closed";
}

TEST_F(AboutDialogTest, CommandLineTextOpensTheMainWindowAtOnce) {
  AboutDialog about;
  about.start({"x"});
  EXPECT_EQ(about.hwnd(), nullptr);
  ASSERT_NE(about.mainWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(about.mainWindow()->hwnd()));
}

}  // namespace
}  // namespace vantrel::testing
