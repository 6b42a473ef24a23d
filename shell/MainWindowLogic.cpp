#include "shell/MainWindowLogic.h"

#include <exception>
#include <utility>

#include "pipeline/WorkingFolder.h"
#include "pipeline/WorkingNames.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "search/Finder.h"
#include "shell/MainWindowControls.h"
#include "shell/Registry.h"
#include "shell/SimulatorDiscovery.h"
#include "shell/TextureTools.h"
#include "texture/TextureCommands.h"

namespace vantrel::shell {

MainWindowLogic::MainWindowLogic(std::string programFolder, MainWindowParts parts)
    : programFolder_(std::move(programFolder)), parts_(std::move(parts)) {
  context_ = {parts_.dialogs,
              parts_.pathBox,
              parts_.editor,
              &document_,
              programFolder_,
              [this](bool busy, const std::string& fileName) {
                converting_ = busy ? fileName : std::string();
                stopRequested_ = false;
                const bool titleChanged = std::exchange(longConversionShown_, false);
                parts_.frame->setBusy(busy);
                if (titleChanged) updateTitle();
              },
              [this](std::chrono::milliseconds waited) { return keepConverting(waited); },
              {}};
  finder_ = std::make_unique<search::Finder>(*parts_.editor);
}

MainWindowLogic::~MainWindowLogic() = default;

StoredPreferences MainWindowLogic::load() {
  const StoredPreferences stored = readPreferences(programFolder_);
  settings_.viewerPath = stored.viewerPath();
  if (const auto problem = pipeline::ensureWorkingFolder(programFolder_)) {
    parts_.dialogs->message(*problem, platform::MessageIcon::Warning);
  }
  context_.simulatorFolder = findSimulatorFolder();
  updateTitle();
  return stored;
}

void MainWindowLogic::saveSettings(Settings geometry) {
  geometry.viewerPath = settings_.viewerPath;
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
  if (!document_.path().empty()) text += " - " + document_.titleName();
  if (parts_.editor->isModified()) text += " *";
  return text;
}

void MainWindowLogic::updateTitle() {
  if (!longConversionShown_) parts_.frame->setTitle(title());
}

void MainWindowLogic::modifiedChanged() { updateTitle(); }

bool MainWindowLogic::mayDiscardChanges() {
  if (!parts_.editor->isModified()) return true;
  const std::string name =
      document_.path().empty() ? std::string("the text in the editor") : document_.name();
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
  const bool saved = document_.cameFromOtherFile() || document_.path().empty()
                         ? pipeline::saveAs(context_).isDone()
                         : pipeline::saveBin(context_).isDone();
  updateTitle();
  return saved;
}

// --- One command at a time ---------------------------------------------------

bool MainWindowLogic::refuseDuringConversion() {
  if (converting_.empty()) return false;
  parts_.dialogs->message(converting_ + " is still being converted.",
                          platform::MessageIcon::Information);
  return true;
}

bool MainWindowLogic::askToStopConversion() {
  const std::string name = converting_;
  const platform::Answer answer = parts_.dialogs->ask(
      name + " is still being converted. Stop the converter and put " + name + " back as it was?",
      false);
  if (answer != platform::Answer::Yes || converting_ != name) return false;
  stopRequested_ = true;
  return true;
}

bool MainWindowLogic::keepConverting(std::chrono::milliseconds waited) {
  constexpr std::chrono::milliseconds kShowAfter{3000};
  if (!longConversionShown_ && waited >= kShowAfter && !converting_.empty()) {
    parts_.frame->setTitle("Converting " + converting_ + "... (Esc stops)");
    longConversionShown_ = true;
  }
  return !stopRequested_;
}

void MainWindowLogic::runGuarded(const std::function<void()>& body) {
  running_ = true;
  try {
    body();
  } catch (const std::exception& error) {
    parts_.dialogs->message(std::string("The command failed: ") + error.what(),
                            platform::MessageIcon::Stop);
  } catch (...) {
    parts_.dialogs->message("The command failed for a reason it could not name.",
                            platform::MessageIcon::Stop);
  }
  running_ = false;
}

void MainWindowLogic::command(const std::function<void()>& body) {
  if (refuseDuringConversion()) return;
  // A question of the running command is open: its window has the input.
  if (running_) return;
  runGuarded(body);
  updateTitle();
  // Exit was chosen while it ran: the window goes now (asking about
  // unsaved changes once more).
  if (std::exchange(closeWhenDone_, false)) parts_.frame->closeWindow();
}

void MainWindowLogic::escape() {
  if (!converting_.empty()) askToStopConversion();
}

bool MainWindowLogic::confirmClose() {
  if (!converting_.empty()) {
    askToStopConversion();  // Yes or No: the window goes when the conversion has ended
    closeWhenDone_ = true;
    return false;
  }
  if (running_) return false;
  bool mayClose = false;
  runGuarded([this, &mayClose] { mayClose = mayDiscardChanges(); });
  // Exit chosen again while that save ran: one more chance to keep the
  // edit, then close.
  if (std::exchange(closeWhenDone_, false) && !mayClose) return confirmClose();
  return mayClose;
}

void MainWindowLogic::opened() {
  parts_.editor->setSelStart(0);
  parts_.frame->focusEditor();
}

// --- Documents --------------------------------------------------------------

// The title is brought up to date after every command (also after a
// failure: the document may be gone).

void MainWindowLogic::openBin() {
  command([this] {
    if (mayDiscardChanges() && pipeline::openBin(context_).isDone()) opened();
  });
}

void MainWindowLogic::viewOtherFiles() {
  command([this] {
    if (mayDiscardChanges() && pipeline::viewOtherFiles(context_).isDone()) opened();
  });
}

void MainWindowLogic::openFile(const std::string& path) {
  command([this, &path] {
    if (!mayDiscardChanges()) return;
    if (pipeline::openGivenFile(context_, path).isDone()) opened();
  });
}

void MainWindowLogic::saveBin() {
  command([this] {
    const std::string name = pipeline::fileNameOf(parts_.pathBox->text());
    const pipeline::Outcome outcome = pipeline::saveBin(context_);
    updateTitle();
    if (outcome.isDone()) {
      parts_.frame->showStatus(outcome.news.empty()
                                   ? "Saved " + name + " as a new file"
                                   : "Saved " + name + "; the previous version is " +
                                         pipeline::fileNameOf(outcome.news));
    } else if (outcome.kind == pipeline::Outcome::Kind::Cancelled && !closeWhenDone_ &&
               !name.empty()) {
      parts_.frame->showStatus(name + " was not saved and is as it was");
    }
  });
}

void MainWindowLogic::saveAs() {
  command([this] { pipeline::saveAs(context_); });
}

void MainWindowLogic::clear() {
  command([this] {
    if (mayDiscardChanges()) pipeline::clearEditor(context_);
  });
}

// Also during a conversion: the close asks whether to stop it.
void MainWindowLogic::exit() { parts_.frame->closeWindow(); }

void MainWindowLogic::clearTempFiles() {
  command([this] { pipeline::clearTempFiles(context_); });
}

// --- Search -----------------------------------------------------------------

void MainWindowLogic::find() {
  command([this] {
    // The check box is read first, also for an empty find text.
    const bool wholeWord = parts_.wholeWordChecked && parts_.wholeWordChecked();
    finder_->find(parts_.findBox->text(), wholeWord);
  });
}

void MainWindowLogic::replace() {
  command([this] { finder_->replace(parts_.replaceBox->text()); });
}

void MainWindowLogic::replaceAll() {
  command([this] { finder_->replaceAll(parts_.findBox->text(), parts_.replaceBox->text()); });
}

// --- Textures ---------------------------------------------------------------

void MainWindowLogic::convertToDds() {
  command([this] { texture::convertToDds(*parts_.dialogs, *parts_.editor); });
}

void MainWindowLogic::viewDds() {
  command([this] { texture::viewDds(*parts_.dialogs, settings_.viewerPath, programFolder_); });
}

void MainWindowLogic::chooseViewerPath() {
  command([this] { texture::chooseViewerPath(*parts_.dialogs, settings_.viewerPath); });
}

// --- Tools --------------------------------------------------------------------

void MainWindowLogic::goToLine() {
  command([this] {
    platform::Editor& editor = *parts_.editor;
    const long lines = editor.lineCount();
    const std::optional<long> line = parts_.dialogs->askNumber(
        "Go to Line", "Line number (1 - " + std::to_string(lines) + "):", 1, lines,
        editor.caretLine());
    if (!line) return;
    editor.goToLine(*line);
    parts_.frame->focusEditor();
  });
}

void MainWindowLogic::foldAll() {
  command([this] { parts_.editor->foldAll(true); });
}

void MainWindowLogic::unfoldAll() {
  command([this] { parts_.editor->foldAll(false); });
}

void MainWindowLogic::foldElement() {
  command([this] { parts_.editor->foldAtCaret(true); });
}

void MainWindowLogic::unfoldElement() {
  command([this] { parts_.editor->foldAtCaret(false); });
}

// Not a command: the window only shows results, and opening one goes
// through openMatch.
void MainWindowLogic::findInFiles() { parts_.frame->showFindInFiles(); }

void MainWindowLogic::openMatch(const FilePlace& place) {
  command([this, &place] {
    if (!mayDiscardChanges()) return;
    // A loose file of any name opens as a .bin: the search found SERZ in it.
    const pipeline::Outcome outcome =
        place.member.empty() ? pipeline::openBinFile(context_, place.path)
                             : pipeline::openPackedMember(context_, place.path, place.member);
    if (!outcome.isDone()) return;
    platform::Editor& editor = *parts_.editor;
    editor.goToLineColumn(place.line, place.column);
    editor.selectFromCaret(place.length);
    parts_.frame->focusEditor();
  });
}

// --- Texture tools ------------------------------------------------------------

void MainWindowLogic::showTexturePreview() {
  command([this] {
    const std::string_view text = parts_.editor->view();
    if (!looksLikeTexture(text)) {
      parts_.dialogs->message(kNoTextureMessage, platform::MessageIcon::Information);
      return;
    }
    preview_.setOpen(true);
    preview_.showText(text);
    parts_.frame->showTexturePreview();
  });
}

bool MainWindowLogic::textRested() {
  if (!preview_.isOpen() || running_) return false;
  preview_.showText(parts_.editor->view());
  return true;
}

void MainWindowLogic::exportDds() {
  command([this] {
    const std::string news = exportDdsFile({*parts_.dialogs, *parts_.editor, document_.path()});
    if (!news.empty()) parts_.frame->showStatus(news);
  });
}

void MainWindowLogic::exportPng() {
  command([this] {
    const std::size_t level = preview_.isOpen() ? preview_.level() : 0;
    const std::string news =
        exportPngFile({*parts_.dialogs, *parts_.editor, document_.path()}, level);
    if (!news.empty()) parts_.frame->showStatus(news);
  });
}

void MainWindowLogic::importDds() {
  command([this] {
    const std::string news = importDdsFile({*parts_.dialogs, *parts_.editor, document_.path()});
    if (!news.empty()) parts_.frame->showStatus(news);
  });
}

void MainWindowLogic::importPng() {
  command([this] {
    const std::string news = importPngFile({*parts_.dialogs, *parts_.editor, document_.path()});
    if (!news.empty()) parts_.frame->showStatus(news);
  });
}

}  // namespace vantrel::shell
