#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/win32/Fonts.h"
#include "ui/win32/MainWindow.h"

// The program's first window on Windows: the About dialog of the design
// table (picture, labels, separators, OK). OK opens the one main window and
// closes the dialog; any command-line argument presses OK at once, and a
// file named there opens once the main window shows. Enter presses OK,
// Escape and the close box end the program without a main window.
namespace vantrel::win32 {

class AboutDialog {
 public:
  inline static constexpr const wchar_t* kClassName = L"VantrelAbout";

  AboutDialog();  // the window, hidden
  ~AboutDialog();
  AboutDialog(const AboutDialog&) = delete;
  AboutDialog& operator=(const AboutDialog&) = delete;

  // arguments: what follows the program name on the command line, UTF-8.
  void start(const std::vector<std::string>& arguments);
  void pressOk();

  // nullptr once the dialog has closed.
  HWND hwnd() const { return hwnd_; }
  // A control by its design name ("lblTitle", "cmdOK", "Image1", ...).
  HWND control(std::string_view name) const;
  MainWindow* mainWindow() const { return mainWindow_.get(); }

  // Called when no window of the program is left: the dialog closed without
  // OK, or the main window closed.
  void setOnFinished(std::function<void()> onFinished) { onFinished_ = std::move(onFinished); }

  // For the window procedure.
  void attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void createControls(unsigned dpi);
  HWND addControl(const char* name, const wchar_t* windowClass, const std::wstring& text,
                  DWORD style, int left, int top, int width, int height, unsigned dpi);
  void finish();

  HWND hwnd_ = nullptr;
  std::vector<std::pair<std::string, HWND>> controls_;
  std::vector<UniqueFont> fonts_;
  HBITMAP picture_ = nullptr;
  std::unique_ptr<MainWindow> mainWindow_;
  std::string fileToOpen_;
  bool okPressed_ = false;
  std::function<void()> onFinished_;
};

}  // namespace vantrel::win32
