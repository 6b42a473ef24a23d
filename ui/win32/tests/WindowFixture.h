#pragma once
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/ProgramFolder.h"
#include "platform/core/WideText.h"
#include "platform/window/Dialogs.h"
#include "ui/win32/EditField.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/Twips.h"

// The Win32 windows driven through their messages, in a temporary program
// folder with scripted dialogs. The windows are real, on the display Wine
// uses (an Xvfb in scripts/windows-tests.sh).
namespace vantrel::testing {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Handles every waiting message, as the program's loop would.
inline void pump() { win32::pumpPendingMessages(); }

// Pumps until done() or the deadline; true when done.
inline bool pumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pump();
    Sleep(5);
  }
  return true;
}

// What the shell does when a file is dropped on a window: the nearest
// window that accepts files (the window itself or a parent) gets a
// DROPFILES block with the wide path, posted.
inline void dropFile(HWND over, const std::string& path) {
  HWND target = over;
  while (target != nullptr && !(GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
    target = GetParent(target);
  ASSERT_NE(target, nullptr) << "no window there accepts files";
  const std::wstring wide = platform::utf8ToWide(path);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                               sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(wide.begin(), wide.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

inline std::string textOf(HWND window) { return win32::windowText(window); }
inline void setTextOf(HWND window, const std::string& text) {
  SetWindowTextW(window, platform::utf8ToWide(text).c_str());
}

// Keys typed on the keyboard: each with the modifiers held while it is
// pressed. They go through the system's input queue to the window with the
// focus, all queued before any is handled (as a menu needs them), and are
// then handled as the program's loop handles them.
struct Keystroke {
  WORD key;
  std::vector<WORD> modifiers = {};
};

inline void typeKeys(const std::vector<Keystroke>& keystrokes) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (const Keystroke& k : keystrokes) {
    for (WORD m : k.modifiers) add(m, false);
    add(k.key, false);
    add(k.key, true);
    for (auto m = k.modifiers.rbegin(); m != k.modifiers.rend(); ++m) add(*m, true);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // A few rounds let each key be translated and handled.
  for (int i = 0; i < 20; ++i) {
    pump();
    Sleep(2);
  }
}

inline void typeKey(WORD key, std::vector<WORD> modifiers = {}) {
  typeKeys({Keystroke{key, std::move(modifiers)}});
}

// A temporary program folder and scripted dialogs.
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::temp_directory_path() / ("vantrel-window-" + std::to_string(std::random_device()()));
    programFolder_ = root_ / "program";
    fs::create_directories(programFolder_);
    platform::setProgramFolderForTests(programFolder_.string());
    platform::setDialogsOverride(&dialogs_);
  }
  void TearDown() override {
    pump();
    platform::setDialogsOverride(nullptr);
    platform::setProgramFolderForTests("");
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(root_, ignored);
  }

  fs::path preferences() const { return programFolder_ / "preferences.txt"; }
  fs::path workingFolder() const { return programFolder_ / "TempFiles"; }

  // A main window loaded from the program folder as it is now, shown and
  // in front, with the focus where it starts.
  std::unique_ptr<win32::MainWindow> showMainWindow() {
    auto window = std::make_unique<win32::MainWindow>();
    window->show();
    SetForegroundWindow(window->hwnd());
    pump();
    return window;
  }

  static HWND focused() { return GetFocus(); }

  // The outer frame in whole twips, as the settings file holds it:
  // "width,height,top,left".
  static std::string frameTwips(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const unsigned dpi = win32::windowDpi(window);
    auto t = [dpi](LONG pixels) {
      return std::to_string(std::lround(win32::pixelsToTwips(pixels, dpi)));
    };
    return t(frame.right - frame.left) + ',' + t(frame.bottom - frame.top) + ',' + t(frame.top) +
           ',' + t(frame.left);
  }
  // The client area's size in twips.
  static std::pair<double, double> clientTwips(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const unsigned dpi = win32::windowDpi(window);
    return {win32::pixelsToTwips(client.right, dpi), win32::pixelsToTwips(client.bottom, dpi)};
  }

  fs::path root_, programFolder_;
  platform::ScriptedDialogs dialogs_;
};

}  // namespace vantrel::testing
