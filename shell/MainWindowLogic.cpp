#include "shell/MainWindowLogic.h"

#include <cctype>

#include "pipeline/WorkingFolder.h"
#include "pipeline/WorkingNames.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "search/Finder.h"
#include "shell/MainWindowControls.h"
#include "shell/Registry.h"
#include "texture/TextureCommands.h"

namespace vantrel::shell {

namespace {

bool hasBinExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".bin";
}

}  // namespace

MainWindowLogic::MainWindowLogic(std::string programFolder, MainWindowParts parts)
    : programFolder_(std::move(programFolder)), parts_(std::move(parts)) {
  document_ = {parts_.dialogs, parts_.pathBox, parts_.editor,
               &session_,      programFolder_, [this](bool busy) { parts_.frame->setBusy(busy); }};
  finder_ = std::make_unique<search::Finder>(*parts_.editor, session_);
}

MainWindowLogic::~MainWindowLogic() = default;

StoredPreferences MainWindowLogic::load() {
  const StoredPreferences stored = readPreferences(programFolder_);
  session_.strIV = stored.viewerPath();
  if (const auto problem = pipeline::ensureWorkingFolder(programFolder_)) {
    parts_.dialogs->message(*problem, platform::MessageIcon::Warning);
  }
  session_.VantrelPath = readSimulatorFolder();
  updateTitle();
  return stored;
}

void MainWindowLogic::saveSettings(Settings geometry) {
  geometry.viewerPath = session_.strIV;
  std::string errorText;
  if (writePreferences(programFolder_, geometry, errorText)) return;
  parts_.dialogs->message(
      "The window position and the image viewer path could not be saved in\r\n" +
          preferencesPath(programFolder_) + "\r\n(" + errorText +
          "). The next start uses the default settings.",
      platform::MessageIcon::Warning);
}

// --- Title and unsaved changes ---------------------------------------------

std::string MainWindowLogic::title() const {
  std::string text = kMainWindowTitle;
  if (!session_.documentPath.empty()) text += " - " + pipeline::fileNameOf(session_.documentPath);
  if (parts_.editor->isModified()) text += " *";
  return text;
}

void MainWindowLogic::updateTitle() { parts_.frame->setTitle(title()); }

void MainWindowLogic::modifiedChanged() { updateTitle(); }

bool MainWindowLogic::mayDiscardChanges() {
  if (!parts_.editor->isModified()) return true;
  const std::string name = session_.documentPath.empty()
                               ? std::string("the text in the editor")
                               : pipeline::fileNameOf(session_.documentPath);
  switch (parts_.dialogs->ask("Save changes to " + name + "?", true)) {
    case platform::Answer::No:
      return true;
    case platform::Answer::Cancel:
      return false;
    case platform::Answer::Yes:
      break;
  }
  // Text from View other files (or from no file at all) cannot become a
  // .bin: it is saved as it is, under a name the user chooses.
  const bool saved = session_.NotBin || session_.documentPath.empty()
                         ? pipeline::saveAs(document_)
                         : pipeline::saveBin(document_).has_value();
  updateTitle();
  return saved;
}

bool MainWindowLogic::confirmClose() { return mayDiscardChanges(); }

void MainWindowLogic::opened() {
  parts_.editor->setSelStart(0);
  parts_.frame->focusEditor();
}

// --- Documents --------------------------------------------------------------

void MainWindowLogic::openBin() {
  if (!mayDiscardChanges()) return;
  if (pipeline::openBin(document_)) opened();
  updateTitle();  // also after a failure: the document is gone
}

void MainWindowLogic::viewOtherFiles() {
  if (!mayDiscardChanges()) return;
  if (pipeline::viewOtherFiles(document_)) opened();
  updateTitle();
}

void MainWindowLogic::openFile(const std::string& path) {
  if (!mayDiscardChanges()) return;
  const bool done = hasBinExtension(path) ? pipeline::openBinFile(document_, path)
                                          : pipeline::viewOtherFile(document_, path);
  if (done) opened();
  updateTitle();
}

void MainWindowLogic::saveBin() {
  const std::optional<std::string> backup = pipeline::saveBin(document_);
  updateTitle();
  if (!backup) return;
  parts_.frame->showStatus("Saved " + pipeline::fileNameOf(parts_.pathBox->text()) +
                           "; the previous version is " + pipeline::fileNameOf(*backup));
}

void MainWindowLogic::saveAs() {
  pipeline::saveAs(document_);
  updateTitle();
}

void MainWindowLogic::clear() {
  if (!mayDiscardChanges()) return;
  pipeline::clearEditor(document_);
  updateTitle();
}

void MainWindowLogic::exit() { parts_.frame->closeWindow(); }

void MainWindowLogic::clearTempFiles() { pipeline::clearTempFiles(document_); }

// --- Search -----------------------------------------------------------------

void MainWindowLogic::find() {
  // The check box is read first, also for an empty find text.
  const bool wholeWord = parts_.wholeWordChecked && parts_.wholeWordChecked();
  finder_->find(parts_.findBox->text(), wholeWord);
}

void MainWindowLogic::replace() { finder_->replace(parts_.replaceBox->text()); }

void MainWindowLogic::replaceAll() {
  finder_->replaceAll(parts_.findBox->text(), parts_.replaceBox->text());
}

// --- Textures ---------------------------------------------------------------

void MainWindowLogic::convertToDds() { texture::convertToDds(*parts_.dialogs, *parts_.editor); }

void MainWindowLogic::viewDds() {
  texture::viewDds(*parts_.dialogs, session_.strIV, programFolder_);
}

void MainWindowLogic::chooseViewerPath() {
  texture::chooseViewerPath(*parts_.dialogs, session_.strIV);
}

}  // namespace vantrel::shell
