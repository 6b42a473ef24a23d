#pragma once
#include <functional>
#include <string>

#include "pipeline/EditorSession.h"

namespace vantrel::platform {
class Dialogs;
class Editor;
class TextField;
}  // namespace vantrel::platform

// The conversion pipeline's commands as the main window's buttons call them.
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

void openBin(DocumentContext& ctx);         // "....." (Command1)
void saveBin(DocumentContext& ctx);         // "&Save .bin" (Command3)
void viewOtherFiles(DocumentContext& ctx);  // "View other Vantrel files" (Command9)
void saveAs(DocumentContext& ctx);          // "Save As" (Command8)
void clearEditor(DocumentContext& ctx);     // "Clear" (Command7)
void clearTempFiles(DocumentContext& ctx);  // "Clear Temp Files" (mnuCTF)

}  // namespace vantrel::pipeline
