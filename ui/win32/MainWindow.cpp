#include "ui/win32/MainWindow.h"

#include <shellapi.h>

#include <cwctype>
#include <exception>
#include <utility>

#include "Scintilla.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/WideText.h"
#include "shell/FindInFilesEngine.h"
#include "shell/WindowPlacement.h"
#include "ui/win32/KeyboardBehaviour.h"
#include "ui/win32/MainWindowLayout.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/ScreenPlacement.h"
#include "ui/win32/Twips.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/WindowClass.h"

namespace vantrel::win32 {

namespace {

using shell::ControlKind;
using shell::kMainWindowControls;
using shell::kOptionsMenuEntries;

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusShownMs = 6000;
// Restarted by every change of the editor's text; when it runs out an open
// Texture Preview reads the text again.
constexpr UINT_PTR kPreviewTimer = 2;
constexpr UINT kPreviewRestMs = 300;
// Posted to itself: open the file named on the command line or dropped.
constexpr UINT kOpenPendingFile = WM_APP + 1;

HCURSOR waitCursor() { return LoadCursorW(nullptr, IDC_WAIT); }

}  // namespace

MainWindow::MainWindow() {
  registerWindowClass(kClassName, windowProcedure<MainWindow>);
  const std::wstring title = platform::utf8ToWide(shell::kMainWindowTitle);
  CreateWindowExW(0, kClassName, title.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd_ == nullptr) {
    MessageBoxW(nullptr, L"The main window could not be created.", applicationCaption().c_str(),
                MB_OK | MB_ICONSTOP);
    ExitProcess(1);
  }
  dpi_ = windowDpi(hwnd_);
  controlFont_ = makeFont(kSansSerifFace, kControlFontPoints, false, dpi_);
  controls_ = createMainWindowControls(hwnd_, controlFont_.get());
  fitToDesignSize();

  ownDialogs_.setOwner(hwnd_);
  pathBox_ = EditField(controls_[shell::kPathBox]);
  findBox_ = EditField(controls_[shell::kFindBox]);
  replaceBox_ = EditField(controls_[shell::kReplaceBox]);
  shell::MainWindowParts parts;
  parts.editor = &controls_.editor->editor();
  parts.pathBox = &pathBox_;
  parts.findBox = &findBox_;
  parts.replaceBox = &replaceBox_;
  parts.wholeWordChecked = [box = controls_[shell::kWholeWordBox]] {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  parts.dialogs = platform::dialogsOverride() ? platform::dialogsOverride() : &ownDialogs_;
  parts.frame = this;
  logic_ = std::make_unique<shell::MainWindowLogic>(platform::programFolder(), std::move(parts));

  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (kMainWindowControls[i].enterPresses != nullptr) {
      enterPressesButton(controls_[i],
                         controls_[shell::controlIndex(kMainWindowControls[i].enterPresses)]);
    }
  }
  editorKeyboard(controls_.editor->hwnd());
  registerDialogWindow(hwnd_, [this](MSG& message) {
    return handleEscapeWhileBusy(message) || handleToolKey(message) || handleAccessKey(message);
  });
  DragAcceptFiles(hwnd_, TRUE);

  restorePlacement(logic_->load());
  applyLayout();
}

MainWindow::~MainWindow() {
  onClosed_ = nullptr;
  findInFiles_.reset();
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void MainWindow::show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  lastFocus_ = controls_[shell::kPathBox];
  SetFocus(lastFocus_);
}

void MainWindow::showFindInFiles() {
  if (!findInFiles_) {
    findInFiles_ = std::make_unique<FindInFilesWindow>(
        hwnd_, shell::makeFindInFilesEngine(), platform::dialogsOverride(),
        [this](const shell::FilePlace& place) {
          run([this, &place] { logic_->openMatch(place); });
        },
        logic_->simulatorFolder());
  }
  findInFiles_->show();
}

void MainWindow::openFileSoon(const std::string& path) {
  pendingOpen_.push_back(path);
  PostMessageW(hwnd_, kOpenPendingFile, 0, 0);
}

// --- What the logic asks of the window -------------------------------------

void MainWindow::setBusy(bool busy) {
  if (busy && !busy_) focusBeforeBusy_ = GetFocus();
  busy_ = busy;
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (!kMainWindowControls[i].busyDisables) continue;
    if (kMainWindowControls[i].kind == ControlKind::Editor) {
      controls_.editor->editor().setReadOnly(busy);
      controls_.editor->showBusyCursor(busy);
    } else {
      EnableWindow(controls_[i], busy ? FALSE : TRUE);
    }
  }
  for (std::size_t i = 0; i < kOptionsMenuEntries.size(); ++i) {
    if (!kOptionsMenuEntries[i].busyDisables) continue;
    EnableMenuItem(controls_.optionsMenu, static_cast<UINT>(menuEntryId(i)),
                   MF_BYCOMMAND | (busy ? MF_GRAYED : MF_ENABLED));
  }
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i) {
    EnableMenuItem(controls_.toolsMenu, static_cast<UINT>(toolEntryId(i)),
                   MF_BYCOMMAND | (busy ? MF_GRAYED : MF_ENABLED));
  }
  if (busy) {
    SetCursor(waitCursor());
    return;
  }
  // Let the control under the mouse choose its cursor again.
  POINT at{};
  GetCursorPos(&at);
  const HWND under = WindowFromPoint(at);
  if (under != nullptr && GetAncestor(under, GA_ROOT) == hwnd_) {
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
  }
  restoreFocusAfterBusy();
}

// A disabled control loses the focus; give it back to the control that had
// it, so the keyboard works again without a click.
void MainWindow::restoreFocusAfterBusy() {
  const HWND previous = std::exchange(focusBeforeBusy_, nullptr);
  if (GetFocus() != nullptr || previous == nullptr || !IsWindow(previous) ||
      !IsWindowEnabled(previous) || !IsChild(hwnd_, previous)) {
    return;
  }
  lastFocus_ = previous;
  if (GetActiveWindow() == hwnd_) SetFocus(previous);
}

void MainWindow::closeWindow() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void MainWindow::setTitle(const std::string& title) {
  title_ = platform::utf8ToWide(title);
  if (!statusShown_) SetWindowTextW(hwnd_, title_.c_str());
}

void MainWindow::showStatus(const std::string& text) {
  statusShown_ = true;
  SetWindowTextW(hwnd_, (title_ + L" - " + platform::utf8ToWide(text)).c_str());
  SetTimer(hwnd_, kStatusTimer, kStatusShownMs, nullptr);
}

void MainWindow::focusEditor() {
  lastFocus_ = controls_.editor->hwnd();
  SetFocus(lastFocus_);
}

void MainWindow::showTexturePreview() {
  if (!preview_) {
    // The Tools keys work in the preview too: Ctrl+Shift+E exports the
    // level it shows.
    preview_ = std::make_unique<TexturePreviewWindow>(
        logic_->texturePreview(), hwnd_, [this](MSG& message) { return handleToolKey(message); });
  }
  preview_->showInFront();
}

// --- Events -----------------------------------------------------------------

// The logic refuses what may not run now and turns unexpected errors into
// messages; the window only keeps itself alive until its handlers return.
void MainWindow::run(const std::function<void()>& handler) {
  ++handlerDepth_;
  handler();
  --handlerDepth_;
  if (handlerDepth_ == 0 && closePending_ && hwnd_ != nullptr) {
    closePending_ = false;
    DestroyWindow(hwnd_);
  }
}

void MainWindow::onCommand(int id, int code) {
  if (const auto control = controlIndexOfId(id)) {
    const shell::Handler handler = kMainWindowControls[*control].onPress;
    if (handler != nullptr && code == BN_CLICKED) run([&] { (logic_.get()->*handler)(); });
    return;
  }
  if (const auto entry = menuEntryIndexOfId(id)) {
    const shell::Handler handler = kOptionsMenuEntries[*entry].onChoose;
    run([&] { (logic_.get()->*handler)(); });
    return;
  }
  if (const auto entry = toolEntryIndexOfId(id)) {
    const shell::Handler handler = shell::kToolsMenuEntries[*entry].onChoose;
    run([&] { (logic_.get()->*handler)(); });
  }
  // IDOK and IDCANCEL (Enter and Escape outside the search boxes) do nothing.
}

void MainWindow::onClose() {
  if (closePending_) return;
  bool confirmed = false;
  run([&] { confirmed = logic_->confirmClose(); });
  if (!confirmed || hwnd_ == nullptr) return;
  // The normal geometry, also while minimized or maximized, so the next
  // start opens a usable window.
  logic_->saveSettings(shell::settingsFromFrame(normalFrame(hwnd_), twipsPerPixel(dpi_), {}));
  if (handlerDepth_ > 0) {
    // A command is still running (Exit pressed while a file converts): the
    // window goes once it has returned.
    closePending_ = true;
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  DestroyWindow(hwnd_);
}

// Esc during a conversion, wherever the focus is: asks whether to stop.
// Pressing Save .bin leaves the focus on a button the busy state then
// disables, so often no window has the focus: the system then sends the
// key to the main window as WM_SYSKEYDOWN, without Alt held (context bit
// 29 clear; Alt+Esc switches windows and is left alone).
bool MainWindow::handleEscapeWhileBusy(const MSG& message) {
  constexpr LPARAM kAltHeld = LPARAM{1} << 29;
  const bool escape = message.wParam == VK_ESCAPE &&
                      (message.message == WM_KEYDOWN ||
                       (message.message == WM_SYSKEYDOWN && (message.lParam & kAltHeld) == 0));
  if (!escape || !logic_ || !logic_->commandRunning()) return false;
  logic_->escape();
  return true;
}

// The Tools menu's keys, wherever the focus is in the window.
bool MainWindow::handleToolKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !logic_) return false;
  const auto entry = toolEntryOfKey(message.wParam, GetKeyState(VK_CONTROL) < 0,
                                    GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0);
  if (!entry) return false;
  const shell::Handler handler = shell::kToolsMenuEntries[*entry].onChoose;
  run([&] { (logic_.get()->*handler)(); });
  return true;
}

bool MainWindow::handleAccessKey(const MSG& message) {
  if (message.message != WM_SYSCHAR) return false;
  const auto key = static_cast<wchar_t>(towlower(static_cast<wint_t>(message.wParam)));
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    const char* caption = kMainWindowControls[i].caption;
    if (kMainWindowControls[i].kind != ControlKind::Button || caption == nullptr) continue;
    if (accessKeyOf(platform::utf8ToWide(caption).c_str()) != key) continue;
    pressButton(controls_[i]);  // a disabled button stays unpressed
    return true;
  }
  return false;
}

void MainWindow::onDropFiles(HDROP drop) {
  std::wstring path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  }
  DragFinish(drop);
  // Opened once the drop has ended, so the source is not kept waiting
  // through a conversion; the logic refuses it while a conversion runs.
  if (!path.empty()) openFileSoon(platform::wideToUtf8(path));
}

// --- Size and place -----------------------------------------------------------

RECT MainWindow::outerRectForClient(int clientWidth, int clientHeight) const {
  RECT rect{0, 0, clientWidth, clientHeight};
  adjustOuterRect(rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), true,
                  static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
  return rect;
}

void MainWindow::fitToDesignSize() {
  const RECT outer = outerRectForClient(twipsToPixels(shell::kDesignClientWidth, dpi_),
                                        twipsToPixels(shell::kDesignClientHeight, dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::restorePlacement(const shell::StoredPreferences& stored) {
  if (!stored.hasGeometry()) return;
  const shell::FramePlacement placement =
      shell::placementFromSettings(stored.read.settings, twipsPerPixel(dpi_), screenWorkAreas());
  if (placement.frameSize) {
    SetWindowPos(hwnd_, nullptr, 0, 0, placement.frameSize->width, placement.frameSize->height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (placement.framePos) {
    SetWindowPos(hwnd_, nullptr, placement.framePos->left, placement.framePos->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::applyLayout() {
  if (controls_[0] == nullptr || IsIconic(hwnd_)) return;  // nothing to see while minimized
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  const ControlPlaces places =
      placeControls(outer.right - outer.left, outer.bottom - outer.top, dpi_);
  HDWP positions = BeginDeferWindowPos(static_cast<int>(places.size()));
  for (std::size_t i = 0; i < places.size() && positions != nullptr; ++i) {
    const shell::PixelRect& p = places[i];
    positions = DeferWindowPos(positions, controls_[i], nullptr, p.left, p.top, p.width, p.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (positions != nullptr) EndDeferWindowPos(positions);
}

void MainWindow::onDpiChanged(const RECT& suggested) {
  UniqueFont font = makeFont(kSansSerifFace, kControlFontPoints, false, dpi_);
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (kMainWindowControls[i].kind != ControlKind::Editor) useFont(controls_[i], font.get());
  }
  controlFont_ = std::move(font);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  applyLayout();
}

LRESULT MainWindow::onSetCursor(WPARAM wParam, LPARAM lParam) {
  if (busy_ && LOWORD(lParam) == HTCLIENT) {
    SetCursor(waitCursor());
    return TRUE;
  }
  return DefWindowProcW(hwnd_, WM_SETCURSOR, wParam, lParam);
}

// --- The window procedure ---------------------------------------------------

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (logic_ && controls_.editor && header->hwndFrom == controls_.editor->hwnd()) {
        if (header->code == SCN_SAVEPOINTLEFT || header->code == SCN_SAVEPOINTREACHED)
          logic_->modifiedChanged();
        controls_.editor->notified(*header);
        // The content's change comes with the next update of the view, once
        // per repaint however many edits it took: an open preview waits
        // for the text to rest.
        if (header->code == SCN_UPDATEUI && logic_->texturePreview().isOpen() &&
            (reinterpret_cast<const SCNotification*>(lParam)->updated & SC_UPDATE_CONTENT) != 0)
          SetTimer(hwnd_, kPreviewTimer, kPreviewRestMs, nullptr);
      }
      return 0;
    }
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) applyLayout();
      return 0;
    case WM_GETMINMAXINFO: {
      if (controls_[0] == nullptr) break;
      const RECT minimum = outerRectForClient(twipsToPixels(shell::kMinimumClientWidth, dpi_),
                                              twipsToPixels(shell::kMinimumClientHeight, dpi_));
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {minimum.right - minimum.left, minimum.bottom - minimum.top};
      return 0;
    }
    case WM_DPICHANGED:
      dpi_ = HIWORD(wParam);
      onDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {  // not minimized
        HWND target = lastFocus_;
        if (target == nullptr || !IsWindow(target) || !IsWindowEnabled(target))
          target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (target != nullptr) SetFocus(target);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      const HWND target = LOWORD(lParam) != 0
                              ? reinterpret_cast<HWND>(wParam)
                              : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_SETCURSOR:
      return onSetCursor(wParam, lParam);
    case WM_TIMER:
      if (wParam == kPreviewTimer) {
        // While a command runs the text may be loading: it is read later.
        if (!logic_->commandRunning()) {
          KillTimer(hwnd_, kPreviewTimer);
          if (logic_->textRested() && preview_) preview_->refresh();
        }
        return 0;
      }
      if (wParam == kStatusTimer) {
        KillTimer(hwnd_, kStatusTimer);
        statusShown_ = false;
        SetWindowTextW(hwnd_, title_.c_str());
      }
      return 0;
    case WM_DROPFILES:
      onDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case kOpenPendingFile: {
      if (pendingOpen_.empty()) return 0;
      const std::string path = pendingOpen_.front();
      pendingOpen_.pop_front();
      if (!path.empty()) run([&] { logic_->openFile(path); });
      return 0;
    }
    case WM_CLOSE:
      onClose();
      return 0;
    case WM_QUERYENDSESSION: {
      // Windows is shutting down or the user logs off: the same question as
      // a close, and Cancel keeps the session going.
      bool confirmed = false;
      run([&] { confirmed = logic_->confirmClose(); });
      endSessionConfirmed_ = confirmed;
      return confirmed ? TRUE : FALSE;
    }
    case WM_ENDSESSION:
      // The process ends without a close; the settings are written now.
      if (wParam != FALSE && endSessionConfirmed_) {
        logic_->saveSettings(shell::settingsFromFrame(normalFrame(hwnd_), twipsPerPixel(dpi_), {}));
      }
      return 0;
    case WM_DESTROY:
      unregisterDialogWindow(hwnd_);
      KillTimer(hwnd_, kStatusTimer);
      KillTimer(hwnd_, kPreviewTimer);
      if (controls_.editor) controls_.editor->windowDestroyed();
      break;
    case WM_NCDESTROY: {
      hwnd_ = nullptr;
      if (const std::function<void()> closed = std::exchange(onClosed_, nullptr)) closed();
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace vantrel::win32
