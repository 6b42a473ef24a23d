#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "pipeline/Document.h"

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
  Document* document = nullptr;
  std::string programFolder;  // folder of the executable, no trailing separator
  // Called with true and the name of the file converted before a
  // conversion starts, and with false after it ended: meanwhile commands
  // that read or change the document or its files are refused, while the
  // window keeps repainting.
  std::function<void(bool busy, const std::string& fileName)> setBusy;
  // Asked while the converter runs, with the time waited so far: false
  // stops it (the user asked to). Unset: it runs to its end.
  std::function<bool(std::chrono::milliseconds waited)> keepConverting;
  // Where the open dialogs start: the simulator's folder; "" when unknown.
  std::string simulatorFolder;
};

// What a command came to. Every command tells the user itself why it did
// not do what was asked, so Failed carries no text; Done carries the news
// the command has for the title (Save .bin: where the old version went).
struct Outcome {
  enum class Kind { Done, Cancelled, Failed };
  Kind kind = Kind::Failed;
  std::string news;

  static Outcome done(std::string news = {}) { return {Kind::Done, std::move(news)}; }
  static Outcome cancelled() { return {Kind::Cancelled, {}}; }
  static Outcome failed() { return {Kind::Failed, {}}; }
  bool isDone() const { return kind == Kind::Done; }
  explicit operator bool() const { return isDone(); }
};

// "....." (Command1): a .bin chosen in the open dialog, converted into the
// editor. openBinFile does the same for a path given without the dialog (the
// command line, a dropped file). Done when the editor holds its text;
// Cancelled when the dialog was cancelled.
Outcome openBin(DocumentContext& ctx);
Outcome openBinFile(DocumentContext& ctx, const std::string& binPath);

// "View other Vantrel files" (Command9): any other file, converted for
// reading (or shown as it is when it already is XML). Done when the editor
// holds its text.
Outcome viewOtherFiles(DocumentContext& ctx);
Outcome viewOtherFile(DocumentContext& ctx, const std::string& path);

// A file named on the command line or dropped on the window, opened as the
// file's kind asks: a SERZ binary (a .bin, a texture's .TgPcDx, a .GeoPcDx,
// a .proxybin, any other extension) or a file named .bin as openBinFile
// opens it, so Save .bin can write it back; packed (ZIP) content goes to
// the archive picker; anything else as viewOtherFile.
Outcome openGivenFile(DocumentContext& ctx, const std::string& path);

// True when the file at path starts as a SERZ binary does ("SERZ" and its
// version bytes 00 00 01 00). False for anything else, a file that cannot be
// read included (its open then tells why).
bool isSerzFile(const std::string& path);

// "&Save .bin" (Command3): Done with the path of the backup the old .bin
// went to as news; Cancelled when the user stopped the converter. The .bin
// stays at its path, as it was, unless the new one was written whole.
Outcome saveBin(DocumentContext& ctx);

// "Save As" (Command8): Done when the text was written.
Outcome saveAs(DocumentContext& ctx);

void clearEditor(DocumentContext& ctx);     // "Clear" (Command7)
void clearTempFiles(DocumentContext& ctx);  // "Clear Temp Files" (mnuCTF)

}  // namespace vantrel::pipeline
