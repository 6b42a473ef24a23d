#include "shell/MainWindowLogic.h"

#include "pipeline/WorkingFolder.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "search/Finder.h"
#include "shell/Registry.h"
#include "texture/TextureCommands.h"

namespace vantrel::shell {

MainWindowLogic::MainWindowLogic(std::string programFolder, MainWindowParts parts)
    : programFolder_(std::move(programFolder)), parts_(std::move(parts)) {
  document_ = {parts_.dialogs, parts_.pathBox, parts_.editor, &session_, programFolder_,
               [this](bool busy) { parts_.frame->setBusy(busy); }};
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

void MainWindowLogic::openBin() { pipeline::openBin(document_); }
void MainWindowLogic::viewOtherFiles() { pipeline::viewOtherFiles(document_); }
void MainWindowLogic::saveBin() { pipeline::saveBin(document_); }
void MainWindowLogic::saveAs() { pipeline::saveAs(document_); }
void MainWindowLogic::clear() { pipeline::clearEditor(document_); }
void MainWindowLogic::exit() { parts_.frame->closeWindow(); }
void MainWindowLogic::clearTempFiles() { pipeline::clearTempFiles(document_); }

void MainWindowLogic::find() {
  // The check box is read first, also for an empty find text.
  const bool wholeWord = parts_.wholeWordChecked && parts_.wholeWordChecked();
  finder_->find(parts_.findBox->text(), wholeWord);
}

void MainWindowLogic::replace() { finder_->replace(parts_.replaceBox->text()); }

void MainWindowLogic::replaceAll() {
  finder_->replaceAll(parts_.findBox->text(), parts_.replaceBox->text());
}

void MainWindowLogic::convertToDds() { texture::convertToDds(*parts_.dialogs, *parts_.editor); }

void MainWindowLogic::viewDds() {
  texture::viewDds(*parts_.dialogs, session_.strIV, programFolder_);
}

void MainWindowLogic::chooseViewerPath() {
  texture::chooseViewerPath(*parts_.dialogs, session_.strIV);
}

}  // namespace vantrel::shell
