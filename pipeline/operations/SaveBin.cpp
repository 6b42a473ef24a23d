#include <filesystem>
#include <system_error>

#include "pipeline/BackupSlots.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/UniFile.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// A backup name is taken when anything is there, also a file that cannot be
// read: renaming onto it would destroy it.
bool nameTaken(const std::string& path) {
  if (files::isReadableFile(path)) return true;
  std::error_code error;
  return fs::exists(fs::symlink_status(files::nativePath(path), error));
}

void refuse(const DocumentContext& ctx, const std::string& text) {
  showMessage(ctx, text, platform::MessageIcon::Stop);
}

std::error_code renameFile(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(files::nativePath(from), files::nativePath(to), error);
  return error;
}

// The converter left no new .bin: put the original back under its name.
void restoreAfterFailedConversion(const DocumentContext& ctx, const std::string& binPath,
                                  const std::string& backupPath, const std::string& xmlPath,
                                  const std::string& reason) {
  const std::error_code error = renameFile(backupPath, binPath);
  std::string text;
  if (!error) {
    text = binPath + " could not be rebuilt from the edited XML, so the original file was put "
                     "back unchanged. The edited text is kept in " +
           xmlPath + ".\n\n" + reason;
  } else {
    text = binPath + " could not be rebuilt from the edited XML, and the original file could not "
                     "be put back (" +
           error.message() + "): it is kept as " + backupPath + ". The edited text is kept in " +
           xmlPath + ".\n\n" + reason;
  }
  showMessage(ctx, text, platform::MessageIcon::Warning);
}

}  // namespace

void saveBin(DocumentContext& ctx) {
  const EditorSession& session = *ctx.session;
  if (session.NotBin) {
    refuse(ctx, "This file was not a .bin file, so cannot be converted back using this program.");
    return;
  }
  const std::string binPath = ctx.pathBox->text();
  if (binPath.empty()) {
    refuse(ctx, "No .bin file is named in the path box, so nothing was saved.");
    return;
  }
  // Nothing opened yet (no working name), or the last open failed.
  if (session.noConvertedText || session.strXML.empty()) {
    refuse(ctx, binPath + " was not saved: the editor holds no text converted from it. Open the "
                          "file again before saving.");
    return;
  }
  if (files::kindOf(binPath) != files::EntryKind::File) {
    // Nothing to move aside (a folder would be moved aside whole).
    refuse(ctx, binPath + " was not saved: there is no file of that name to rebuild.");
    return;
  }
  const std::string xmlPath = workingPath(ctx, session.strXML);
  const std::optional<std::string> command = xmlToBinCommand(xmlPath, binPath);
  if (!command) {
    refuse(ctx, binPath + " was not saved: its path contains a double quote (\"), which cannot be "
                          "passed to the converter.");
    return;
  }
  const std::optional<std::string> backupPath = firstFreeBackup(binPath, nameTaken);
  if (!backupPath) {
    refuse(ctx, binPath + " was not saved: all five backup names beside it (.bak and .bak1 to "
                          ".bak4) are taken. Move some of them away and save again.");
    return;
  }

  BusyGuard busy(ctx);
  std::string errorText;
  if (!writeWholeFile(xmlPath, ctx.editor->view(), errorText)) {
    showMessage(ctx, writeUniFileFailureText(errorText, xmlPath), platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();

  if (const std::error_code error = renameFile(binPath, *backupPath)) {
    showMessage(ctx,
                binPath + " could not be moved aside to " + *backupPath + " (" + error.message() +
                    "), so it was not rebuilt. The edited text is kept in " + xmlPath + ".",
                platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();

  const platform::RunResult outcome = runConverter(ctx, *command);
  if (!files::isReadableFile(binPath)) {
    restoreAfterFailedConversion(ctx, binPath, *backupPath, xmlPath,
                                 conversionFailureReason(ctx, outcome, "a .bin file"));
    return;
  }
  std::error_code error;
  fs::remove(files::nativePath(xmlPath), error);
  if (error) {
    showMessage(ctx,
                binPath + " was saved, but the working file " + xmlPath + " could not be deleted (" +
                    error.message() + ").",
                platform::MessageIcon::Warning);
  }
}

}  // namespace vantrel::pipeline
