#pragma once
#include <functional>
#include <optional>
#include <string>

#include "pipeline/EditorSession.h"

namespace vantrel::platform {
class Dialogs;
class Editor;
class TextField;
}  // namespace vantrel::platform

// The conversion pipeline's commands as the main window's buttons call them.
// Each tells the user itself why it did not do what was asked.
namespace vantrel::pipeline {

// What the commands need of the main window.
struct DocumentContext {
  platform::Dialogs* dialogs = nullptr;    // file dialogs and messages
  platform::TextField* pathBox = nullptr;  // Text1
  platform::Editor* editor = nullptr;      // RichTextBox1
  EditorSession* session = nullptr;
  std::string programFolder;  // folder of the executable, no trailing separator
  // Called with true before a conversion starts and false after it ended:
  // the window disables the commands that read or change the document or
  // its files meanwhile, while it keeps repainting.
  std::function<void(bool busy)> setBusy;
};

// "....." (Command1): a .bin chosen in the open dialog, converted into the
// editor. openBinFile does the same for a path given without the dialog (the
// command line, a dropped file). True when the editor holds its text.
bool openBin(DocumentContext& ctx);
bool openBinFile(DocumentContext& ctx, const std::string& binPath);

// "View other Vantrel files" (Command9): any other file, converted for
// reading (or shown as it is when it already is XML). True when the editor
// holds its text.
bool viewOtherFiles(DocumentContext& ctx);
bool viewOtherFile(DocumentContext& ctx, const std::string& path);

// "&Save .bin" (Command3): the path of the backup the old .bin went to, or
// nullopt when nothing was saved.
std::optional<std::string> saveBin(DocumentContext& ctx);

// "Save As" (Command8): true when the text was written.
bool saveAs(DocumentContext& ctx);

void clearEditor(DocumentContext& ctx);     // "Clear" (Command7)
void clearTempFiles(DocumentContext& ctx);  // "Clear Temp Files" (mnuCTF)

}  // namespace vantrel::pipeline
