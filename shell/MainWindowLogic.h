#pragma once
#include <functional>
#include <memory>
#include <string>

#include "pipeline/EditorSession.h"
#include "pipeline/operations/DocumentOperations.h"
#include "shell/StartupFiles.h"

namespace vantrel::platform {
class Dialogs;
class Editor;
class TextField;
}  // namespace vantrel::platform

namespace vantrel::search {
class Finder;
}

// What the main window does, without any toolkit: a window creates its
// controls from the design table, hands them over through the seams below
// and calls one handler per event. Both the Qt window and the Win32 window
// sit on this.
namespace vantrel::shell {

// What the logic needs of the window itself, besides its controls.
class WindowFrame {
 public:
  virtual ~WindowFrame() = default;
  // While a conversion runs the commands that read or change the document
  // or its files are disabled and the editor is read-only; the window keeps
  // repainting.
  virtual void setBusy(bool busy) = 0;
  // Closes the window as its close box does.
  virtual void closeWindow() = 0;
};

// The controls the logic reads and writes.
struct MainWindowParts {
  platform::Editor* editor = nullptr;          // RichTextBox1
  platform::TextField* pathBox = nullptr;      // Text1
  platform::TextField* findBox = nullptr;      // Text2
  platform::TextField* replaceBox = nullptr;   // Text3
  std::function<bool()> wholeWordChecked;      // Check1
  platform::Dialogs* dialogs = nullptr;
  WindowFrame* frame = nullptr;
};

class MainWindowLogic {
 public:
  MainWindowLogic(std::string programFolder, MainWindowParts parts);
  ~MainWindowLogic();
  MainWindowLogic(const MainWindowLogic&) = delete;
  MainWindowLogic& operator=(const MainWindowLogic&) = delete;

  // Loading, each step whatever the earlier ones met: the stored settings
  // (the viewer path is taken here; the window places itself from the
  // result), the working folder (created, or a message), the simulator's
  // folder. An unreadable settings file costs only geometry and path.
  StoredPreferences load();
  // Closing: writes the settings line (the viewer path is added here); a
  // file that cannot be written is reported.
  void saveSettings(Settings geometry);

  // One handler per control and menu entry.
  void openBin();           // "....."
  void viewOtherFiles();    // "View other Vantrel files"
  void saveBin();           // "&Save .bin"
  void saveAs();            // "Save As"
  void clear();             // "Clear"
  void exit();              // "&Exit", button and menu
  void find();              // "Find", Enter in the find box
  void replace();           // "Replace", Enter in the replace box
  void replaceAll();        // "Replace All"
  void convertToDds();      // "Convert to DDS"
  void viewDds();           // "View DDS"
  void chooseViewerPath();  // "Texture Editor Path"
  void clearTempFiles();    // "Clear Temp Files"

  EditorSession& session() { return session_; }
  const std::string& programFolder() const { return programFolder_; }

 private:
  std::string programFolder_;
  MainWindowParts parts_;
  EditorSession session_;
  pipeline::DocumentContext document_;
  std::unique_ptr<search::Finder> finder_;
};

}  // namespace vantrel::shell
