#pragma once
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "shell/MainWindowLogic.h"
#include "ui/win32/CreateControls.h"
#include "ui/win32/EditField.h"
#include "ui/win32/FindInFilesWindow.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/TexturePreviewWindow.h"
#include "ui/win32/Win32Dialogs.h"

// The main window on Windows: creates the controls of the design table and
// the "Options" menu, forwards every event to the core's MainWindowLogic,
// and does for it what only a window can (busy state, title, closing,
// placing itself, files dropped on it).
namespace vantrel::win32 {

class MainWindow : private shell::WindowFrame {
 public:
  inline static constexpr const wchar_t* kClassName = L"VantrelMainWindow";

  // Creates the window hidden, loads (settings, working folder, simulator
  // folder) and places it as the settings say.
  MainWindow();
  // Destroys the window without saving anything (closing saves).
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window with the focus in the path box.
  void show();
  // The window exists (it has not been closed).
  bool isOpen() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }
  const MainWindowControls& controls() const { return controls_; }
  shell::MainWindowLogic& logic() { return *logic_; }
  const shell::MainWindowLogic& logic() const { return *logic_; }
  platform::Editor& editor() { return controls_.editor->editor(); }
  // Shows the Find in Files box (made the first time), or brings it to
  // the front.
  void showFindInFiles() override;
  // The Find in Files window once it has been opened; nullptr before.
  FindInFilesWindow* findInFilesWindow() const { return findInFiles_.get(); }
  // The Texture Preview window once it has been shown; nullptr before.
  TexturePreviewWindow* texturePreviewWindow() const { return preview_.get(); }

  // While a conversion runs: the commands that read or change the document
  // or its files are disabled (the editor becomes read-only) and the mouse
  // shows the wait cursor; the window keeps repainting, and Exit, View DDS
  // and the viewer path stay usable.
  void setBusy(bool busy) override;
  bool isBusy() const { return busy_; }

  // A file named on the command line or dropped on the window, opened once
  // the message loop comes round (so the window shows first).
  void openFileSoon(const std::string& path);

  // Called once the window has gone.
  void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

  // For the window procedure.
  void attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void closeWindow() override;
  void setTitle(const std::string& title) override;
  void showStatus(const std::string& text) override;
  void focusEditor() override;
  void showTexturePreview() override;

  // Runs a handler of the logic; a close asked for meanwhile happens once
  // the outermost handler has returned.
  void run(const std::function<void()>& handler);
  void onCommand(int id, int code);
  void onClose();
  void applyLayout();
  void restorePlacement(const shell::StoredPreferences& stored);
  void fitToDesignSize();
  RECT outerRectForClient(int clientWidth, int clientHeight) const;
  bool handleEscapeWhileBusy(const MSG& message);
  bool handleToolKey(const MSG& message);
  bool handleAccessKey(const MSG& message);
  void onDropFiles(HDROP drop);
  void onDpiChanged(const RECT& suggested);
  void restoreFocusAfterBusy();
  LRESULT onSetCursor(WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  unsigned dpi_ = 96;
  UniqueFont controlFont_;
  MainWindowControls controls_;
  Win32Dialogs ownDialogs_;
  EditField pathBox_, findBox_, replaceBox_;
  std::unique_ptr<shell::MainWindowLogic> logic_;
  std::unique_ptr<TexturePreviewWindow> preview_;
  std::function<void()> onClosed_;
  std::wstring title_;
  bool statusShown_ = false;
  bool busy_ = false;
  HWND focusBeforeBusy_ = nullptr;
  HWND lastFocus_ = nullptr;
  int handlerDepth_ = 0;
  bool closePending_ = false;
  bool endSessionConfirmed_ = false;
  // Files to open, one for each kOpenPendingFile posted (two drops in quick
  // succession are two opens, each judged on its own).
  std::deque<std::string> pendingOpen_;
  std::unique_ptr<FindInFilesWindow> findInFiles_;
};

}  // namespace vantrel::win32
