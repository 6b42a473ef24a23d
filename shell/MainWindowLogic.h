#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "pipeline/operations/DocumentOperations.h"
#include "shell/StartupFiles.h"
#include "shell/TexturePreview.h"

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
  // or its files are disabled, the editor is read-only and the mouse shows
  // the busy cursor; the window keeps repainting. The logic refuses those
  // commands itself too, however they arrive (a drop, a key, a late click).
  virtual void setBusy(bool busy) = 0;
  // Closes the window as its close box does (which asks confirmClose()).
  virtual void closeWindow() = 0;
  // The window's title.
  virtual void setTitle(const std::string& title) = 0;
  // Brief news without a box, e.g. that a save succeeded: shown for a few
  // seconds after the title, then the title alone again.
  virtual void showStatus(const std::string& text) = 0;
  // Puts the focus into the editor.
  virtual void focusEditor() = 0;
  // Shows the Find in Files window (one per main window, modeless), or
  // raises it when it is open.
  virtual void showFindInFiles() = 0;
  // Shows the Texture Preview window (one of it: shown again it is raised)
  // drawing texturePreview() as it is now.
  virtual void showTexturePreview() = 0;
};

// A place in a SERZ file, as Find in Files found it.
struct FilePlace {
  std::string path;    // the file, or the packed file holding the member
  std::string member;  // the member's path in the packed file; "" for a loose file
  long line = 1;       // from 1, as the editor counts lines
  long column = 1;     // characters from 1
  long length = 0;     // bytes selected from there
};

// The controls the logic reads and writes.
struct MainWindowParts {
  platform::Editor* editor = nullptr;         // RichTextBox1
  platform::TextField* pathBox = nullptr;     // Text1
  platform::TextField* findBox = nullptr;     // Text2
  platform::TextField* replaceBox = nullptr;  // Text3
  std::function<bool()> wholeWordChecked;     // Check1
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

  // The window is about to close (close box, Exit button or menu): false
  // when the user chose to stay (unsaved changes, Cancel). During a
  // conversion it asks whether to stop the converter; either way the
  // window stays until the conversion has ended, then closes through
  // closeWindow() (asking about unsaved changes once more).
  bool confirmClose();
  // Esc: during a conversion, asks whether to stop the converter and put
  // the file back as it was. Otherwise nothing.
  void escape();
  // True while a command runs (a conversion, or a question it asks).
  bool commandRunning() const { return running_; }
  // A file named on the command line or dropped on the window: a .bin or
  // any SERZ binary (a texture, a geometry file...) opens as Open .bin
  // does, without the dialog; any other file as View other files does
  // (pipeline::openGivenFile decides).
  void openFile(const std::string& path);
  // The editor's text left or regained its saved state.
  void modifiedChanged();
  // The title for the document as it is now.
  std::string title() const;

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

  // The Tools menu and its keys.
  void goToLine();            // asks for a line number
  void foldAll();             // every element folded
  void unfoldAll();           // every element unfolded
  void foldElement();         // the element the caret is in
  void unfoldElement();       // the same, unfolded
  void showTexturePreview();  // the levels of the texture text as pictures
  void exportDds();           // every level into one .dds
  void exportPng();           // the level the preview shows (the first without it) as a .png
  void importDds();           // a .dds into the texture text
  void importPng();           // a .png into the texture text
  void findInFiles();         // the Find in Files window

  // Opens the file at place as Open .bin opens a .bin (whatever its
  // extension; a member of a packed file as if picked), asking about
  // unsaved changes first, and selects the match there. Refused as any
  // command while another runs.
  void openMatch(const FilePlace& place);

  // Texture Preview's model: the window draws it and forwards the user's
  // choices to it, and tells it when it closes (setOpen(false)).
  TexturePreview& texturePreview() { return preview_; }
  // The editor's text has rested a moment after a change: an open Texture
  // Preview reads it again (not while a command runs: it may be loading).
  // True when the preview changed and is to be drawn again.
  bool textRested();

  const pipeline::Document& document() const { return document_; }
  // The image viewer's path, kept in the settings file; "" when none.
  const std::string& viewerPath() const { return settings_.viewerPath; }
  // The simulator's folder, where the open dialogs start; "" when unknown.
  const std::string& simulatorFolder() const { return context_.simulatorFolder; }
  const std::string& programFolder() const { return programFolder_; }

 private:
  // Runs one command: refused while another runs (with a message when a
  // conversion is the reason); an unexpected error becomes a message; a
  // close asked for meanwhile happens once it has returned.
  void command(const std::function<void()>& body);
  // Runs body as the running command, an unexpected error becoming a
  // message.
  void runGuarded(const std::function<void()>& body);
  // While a conversion runs: the message that refuses a command.
  bool refuseDuringConversion();
  // The question shared by Exit and Esc during a conversion; true on Yes.
  bool askToStopConversion();
  // Called by the converter's wait: the title after a while, and false
  // once the user asked to stop.
  bool keepConverting(std::chrono::milliseconds waited);

  // Unsaved changes: asks "Save changes to NAME?" and saves on Yes. True
  // when the caller may go on (saved, or No); false to stay (Cancel, or the
  // save failed).
  bool mayDiscardChanges();
  // After a document was opened: the focus in the editor at the top of the
  // text.
  void opened();
  void updateTitle();

  std::string programFolder_;
  MainWindowParts parts_;
  Settings settings_;  // as read at the start; the geometry is taken when closing
  pipeline::Document document_;
  pipeline::DocumentContext context_;
  std::unique_ptr<search::Finder> finder_;
  TexturePreview preview_;

  bool running_ = false;
  std::string converting_;  // name of the file being converted; "" when none
  bool stopRequested_ = false;
  bool closeWhenDone_ = false;
  bool longConversionShown_ = false;
};

}  // namespace vantrel::shell
