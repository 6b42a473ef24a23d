// The resize layout as the window applies it, its minimum size, and the
// search commands as the buttons and Enter in the two boxes start them.
#include "WindowFixture.h"
#include "ui/win32/MainWindowLayout.h"

namespace vantrel::testing {
namespace {

class MainWindowInUse : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    window_ = showMainWindow();
  }
  const win32::MainWindowControls& c() const { return window_->controls(); }
  HWND control(const char* name) const { return c()[shell::controlIndex(name)]; }
  unsigned dpi() const { return win32::windowDpi(window_->hwnd()); }
  double t(int pixels) const { return win32::pixelsToTwips(pixels, dpi()); }
  // Gives the outer frame a size in twips.
  void resizeOuter(double width, double height) {
    SetWindowPos(window_->hwnd(), nullptr, 0, 0, win32::twipsToPixels(width, dpi()),
                 win32::twipsToPixels(height, dpi()), SWP_NOMOVE | SWP_NOZORDER);
    pump();
  }
  // A control's place in the client area, in pixels.
  RECT place(const char* name) const {
    RECT r{};
    GetWindowRect(control(name), &r);
    MapWindowPoints(nullptr, window_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::unique_ptr<win32::MainWindow> window_;
};

using ResizeLayout = MainWindowInUse;
constexpr double kPixel = 15.5;  // each value is rounded to whole pixels once

TEST_F(ResizeLayout, EditorFillsTheWindowAndTheRowsFollowIt) {
  resizeOuter(12690, 10860);
  const RECT editor = place("RichTextBox1");
  const std::pair<LONG, double> placed[] = {// pixels, twips
                                            {editor.left, 360},
                                            {editor.top, 1320},
                                            {editor.right - editor.left, 11890},
                                            {editor.bottom - editor.top, 7360},
                                            {place("Command3").top, 8780},
                                            {place("Check1").top, 8780},
                                            {place("Text3").top, 9205},
                                            {place("Command11").top, 9205},
                                            {place("Text1").left, 1505},
                                            {place("Text1").right - place("Text1").left, 8215},
                                            {place("Command1").left, 9770}};
  for (const auto& [pixels, expected] : placed)
    EXPECT_NEAR(t(pixels), expected, kPixel) << expected;
  EXPECT_LE(std::abs(place("Command9").right - editor.right), 1);

  const RECT check1 = place("Check1"), command1 = place("Command1");
  resizeOuter(12690 + 1000, 10860 + 500);
  EXPECT_NEAR(t(place("RichTextBox1").right - editor.right), 1000, 2 * kPixel);
  EXPECT_NEAR(t(place("RichTextBox1").bottom - editor.bottom), 500, 2 * kPixel);
  EXPECT_NEAR(t(place("Command1").left - command1.left), 1000, 2 * kPixel);
  EXPECT_EQ(place("Command1").top, command1.top);
  EXPECT_EQ(place("Check1").left, check1.left);
  EXPECT_NEAR(t(place("Check1").top - check1.top), 500, 2 * kPixel);
}

// The window cannot be made so small that a control is cut off; at the
// design size the buttons on the right keep a margin from the edge.
TEST_F(ResizeLayout, EveryControlStaysVisibleDownToTheMinimumSize) {
  for (const auto& [width, height] : {std::pair{20.0, 20.0}, std::pair{12690.0, 20.0},
                                      std::pair{20.0, 10860.0}, std::pair{12570.0, 10830.0}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    resizeOuter(width, height);
    RECT client{};
    GetClientRect(window_->hwnd(), &client);
    EXPECT_GE(t(client.right), shell::kMinimumClientWidth - kPixel);
    EXPECT_GE(t(client.bottom), shell::kMinimumClientHeight - kPixel);
    for (const shell::ControlDesign& row : shell::kMainWindowControls) {
      const RECT r = place(row.name);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << row.name;
      EXPECT_GT(r.right - r.left, 0) << row.name;
    }
    EXPECT_GT(place("RichTextBox1").bottom - place("RichTextBox1").top, 0);
  }
  // The rightmost button of the lower rows keeps the editor's left margin.
  RECT client{};
  GetClientRect(window_->hwnd(), &client);
  EXPECT_GE(t(client.right - place("Command2").right), 360 - kPixel);
}

// The pure placement at a higher DPI scales every design value with it.
TEST(ControlPlaces, ScaleWithTheDpi) {
  const win32::ControlPlaces at96 = win32::designPlaces(96), at144 = win32::designPlaces(144);
  const std::size_t command1 = shell::controlIndex("Command1");
  EXPECT_EQ(at96[command1], (shell::PixelRect{616, 32, 33, 25}));
  EXPECT_EQ(at144[command1], (shell::PixelRect{924, 48, 50, 38}));
  const win32::ControlPlaces laidOut = win32::placeControls(12690 / 10, 10860 / 10, 144);
  EXPECT_EQ(laidOut[shell::kEditor], (shell::PixelRect{36, 132, 1189, 736}));
}

// Moved to a screen of another DPI, the window takes the size Windows
// suggests and lays out and sizes its fonts for that DPI.
TEST_F(ResizeLayout, ADpiChangeScalesPlacesAndFonts) {
  RECT suggested{100, 100, 100 + 1269, 100 + 1086};  // 12690 x 10860 twips at 144 DPI
  SendMessageW(window_->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  pump();
  RECT outer{};
  GetWindowRect(window_->hwnd(), &outer);
  const win32::ControlPlaces expected =
      win32::placeControls(outer.right - outer.left, outer.bottom - outer.top, 144);
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i) {
    const RECT r = place(shell::kMainWindowControls[i].name);
    EXPECT_EQ((shell::PixelRect{r.left, r.top, r.right - r.left, r.bottom - r.top}), expected[i])
        << shell::kMainWindowControls[i].name;
  }
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Command1"), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -17);  // 8.25 pt at 144 DPI
}

using SearchCommands = MainWindowInUse;

TEST_F(SearchCommands, EnterInTheFindBoxFindsAtOnceWithAnyModifierAndKeepsTheFocus) {
  platform::Editor& editor = window_->editor();
  editor.setBytes("alpha beta gamma beta beta");
  SetFocus(control("Text2"));
  typeKey(VK_RETURN);  // empty box: nothing
  EXPECT_EQ(editor.selStart(), 0);
  setTextOf(control("Text2"), "beta");
  typeKey('A', {VK_CONTROL});  // other keys: nothing
  EXPECT_EQ(editor.selStart(), 0);
  typeKey(VK_RETURN);
  EXPECT_EQ(editor.selStart(), 6);
  EXPECT_EQ(editor.selLength(), 4);
  typeKey(VK_RETURN, {VK_SHIFT});
  EXPECT_EQ(editor.selStart(), 17);
  typeKey(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(editor.selStart(), 22);
  EXPECT_EQ(focused(), control("Text2"));
  EXPECT_EQ(textOf(control("Text2")), "beta") << "Enter typed nothing into the box";
}

TEST_F(SearchCommands, EnterInTheReplaceBoxReplacesTheFoundWord) {
  platform::Editor& editor = window_->editor();
  editor.setBytes("alpha beta gamma beta");
  SetFocus(control("Text3"));
  typeKey(VK_RETURN);  // empty box: nothing
  EXPECT_EQ(editor.bytes(), "alpha beta gamma beta");
  setTextOf(control("Text2"), "beta");
  SendMessageW(control("Command4"), BM_CLICK, 0, 0);
  setTextOf(control("Text3"), "BETA");
  SetFocus(control("Text3"));
  typeKey(VK_RETURN);
  EXPECT_EQ(editor.bytes(), "alpha BETA gamma beta");
  EXPECT_EQ(focused(), control("Text3"));
}

TEST_F(SearchCommands, FindReadsWholeWordAndTheBoxesTextsAreUtf8) {
  platform::Editor& editor = window_->editor();
  editor.setBytes("alphabet bet K\xC4\x85ty M\xC3\x9CNCHEN caf\xE9");  // Kąty MÜNCHEN, ANSI é
  setTextOf(control("Text2"), "bet");
  SendMessageW(control("Command4"), BM_CLICK, 0, 0);
  EXPECT_EQ(editor.selStart(), 9) << "whole word: the 'bet' inside 'alphabet' is skipped";
  SendMessageW(control("Check1"), BM_CLICK, 0, 0);  // untick
  editor.setSelStart(0);
  SendMessageW(control("Command4"), BM_CLICK, 0, 0);
  EXPECT_EQ(editor.selStart(), 5);

  setTextOf(control("Text2"), "m\xC3\xBCnchen");  // any case, also beyond ASCII
  setTextOf(control("Text3"), "K\xC3\xB6ln");
  SendMessageW(control("Command6"), BM_CLICK, 0, 0);
  EXPECT_EQ(editor.bytes(), "alphabet bet K\xC4\x85ty K\xC3\xB6ln caf\xE9");

  setTextOf(control("Text2"), "K\xC4\x84TY");
  editor.setSelStart(0);
  SendMessageW(control("Command4"), BM_CLICK, 0, 0);
  EXPECT_EQ(editor.selStart(), 13);
  EXPECT_EQ(editor.selLength(), 5);

  // The ANSI byte 0xE9 is not the letter é: nothing found, the selection stays.
  setTextOf(control("Text2"), "caf\xC3\xA9");
  SendMessageW(control("Command4"), BM_CLICK, 0, 0);
  EXPECT_EQ(editor.selStart(), 13);
  EXPECT_EQ(editor.selLength(), 5);
}

// Characters typed on the keyboard go into the editor as UTF-8.
TEST_F(SearchCommands, TypedCharactersBeyondAsciiAreUtf8) {
  platform::Editor& editor = window_->editor();
  editor.setBytes("M\xC3\xBCnchen");
  SetFocus(c().editor->hwnd());
  editor.setSelStart(7);
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = 0x0105;  // ą, as an input method delivers it
    key.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  pumpUntil([&] { return editor.length() > 9; }, 2000);
  EXPECT_EQ(editor.bytes(), "M\xC3\xBCnche\xC4\x85n");
}

}  // namespace
}  // namespace vantrel::testing
