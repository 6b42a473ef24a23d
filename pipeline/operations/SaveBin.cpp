#include <QLineEdit>
#include <filesystem>
#include <system_error>

#include "pipeline/BackupSlots.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/UniFile.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/ui/AnsiText.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// A backup name is taken when anything is there, also a file that cannot be
// read: renaming onto it would destroy it.
bool nameTaken(const std::string& path) {
  if (FileCanOpen(path) == True) return true;
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

void refuse(const DocumentContext& ctx, const QString& text) {
  showMessage(ctx, text, platform::MessageIcon::Stop);
}

// The converter left no new .bin: put the original back under its name.
void restoreAfterFailedConversion(const DocumentContext& ctx, const std::string& binPath,
                                  const std::string& backupPath, const std::string& xmlPath,
                                  const QString& reason) {
  std::error_code error;
  fs::rename(backupPath, binPath, error);
  QString text;
  if (!error) {
    text = QStringLiteral(
               "%1 could not be rebuilt from the edited XML, so the original file was put "
               "back unchanged. The edited text is kept in %2.\n\n%3")
               .arg(pathText(binPath), pathText(xmlPath), reason);
  } else {
    text = QStringLiteral(
               "%1 could not be rebuilt from the edited XML, and the original file could not "
               "be put back (%2): it is kept as %3. The edited text is kept in %4.\n\n%5")
               .arg(pathText(binPath), systemText(error.message()), pathText(backupPath),
                    pathText(xmlPath), reason);
  }
  showMessage(ctx, text, platform::MessageIcon::Warning);
}

}  // namespace

void saveBin(DocumentContext& ctx) {
  const EditorSession& session = *ctx.session;
  if (session.NotBin == True) {
    refuse(ctx, QStringLiteral(
                    "This file was not a .bin file, so cannot be converted back using this "
                    "program."));
    return;
  }
  const QString binText = ctx.pathBox->text();
  if (binText.isEmpty()) {
    refuse(ctx, QStringLiteral("No .bin file is named in the path box, so nothing was saved."));
    return;
  }
  const std::string binPath = platform::toNativePath(binText);
  // Nothing opened yet (no working name), or the last open failed.
  if (session.noConvertedText || session.strXML.empty()) {
    refuse(ctx, QStringLiteral("%1 was not saved: the editor holds no text converted from it. "
                               "Open the file again before saving.")
                    .arg(binText));
    return;
  }
  std::error_code error;
  if (!fs::is_regular_file(binPath, error)) {
    // Nothing to move aside (a folder would be moved aside whole).
    refuse(ctx, QStringLiteral("%1 was not saved: there is no file of that name to rebuild.")
                    .arg(binText));
    return;
  }
  const std::string xmlPath = workingPath(ctx, session.strXML);
  const std::optional<std::string> command = xmlToBinCommand(xmlPath, binPath);
  if (!command) {
    refuse(ctx, QStringLiteral("%1 was not saved: its path contains a double quote (\"), "
                               "which cannot be passed to the converter.")
                    .arg(binText));
    return;
  }
  const std::optional<std::string> backupPath = firstFreeBackup(binPath, nameTaken);
  if (!backupPath) {
    refuse(ctx, QStringLiteral("%1 was not saved: all five backup names beside it (.bak and "
                               ".bak1 to .bak4) are taken. Move some of them away and save "
                               "again.")
                    .arg(binText));
    return;
  }

  BusyGuard busy(ctx);
  std::string errorText;
  if (!writeWholeFile(xmlPath, ctx.editor->view(), errorText)) {
    showMessage(ctx, systemText(writeUniFileFailureText(errorText, xmlPath)),
                platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();

  fs::rename(binPath, *backupPath, error);
  if (error) {
    showMessage(ctx,
                QStringLiteral("%1 could not be moved aside to %2 (%3), so it was not rebuilt. "
                               "The edited text is kept in %4.")
                    .arg(binText, pathText(*backupPath), systemText(error.message()),
                         pathText(xmlPath)),
                platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();

  const RunOutcome outcome = runConverter(ctx, *command);
  if (FileCanOpen(binPath) != True) {
    restoreAfterFailedConversion(ctx, binPath, *backupPath, xmlPath,
                                 conversionFailureReason(ctx, outcome, "a .bin file"));
    return;
  }
  fs::remove(xmlPath, error);
  if (error) {
    showMessage(ctx,
                QStringLiteral("%1 was saved, but the working file %2 could not be deleted (%3).")
                    .arg(binText, pathText(xmlPath), systemText(error.message())),
                platform::MessageIcon::Warning);
  }
}

}  // namespace vantrel::pipeline
