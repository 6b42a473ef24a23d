#include <ctime>
#include <filesystem>
#include <system_error>

#include "pipeline/BackupSlots.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/UniFile.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// A backup name is taken when anything is there, also a file that cannot be
// read or a dangling link: renaming onto it would destroy it.
bool nameTaken(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(platform::pathFromUtf8(path), error));
}

void refuse(const DocumentContext& ctx, const std::string& text) {
  showMessage(ctx, text, platform::MessageIcon::Stop);
}

std::error_code renameFile(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(platform::pathFromUtf8(from), platform::pathFromUtf8(to), error);
  return error;
}

// The converter rebuilt the .bin: it ended with status 0 and left a file
// that starts like every file of the format. Anything else (a part written
// before it failed or was stopped) is not the user's file.
bool rebuilt(const platform::RunResult& outcome, const std::string& binPath) {
  if (!outcome.succeeded()) return false;
  std::string start;
  return !files::readStart(binPath, 4, start) && start == "SERZ";
}

std::string localTimeText(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &time);
#else
  localtime_r(&time, &parts);
#endif
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

// All five backup names are taken: the oldest may be replaced, but only
// when the user says so. Returns the name to use, or nullopt.
std::optional<std::string> replaceOldestBackup(const DocumentContext& ctx,
                                               const std::string& binPath) {
  std::optional<std::string> oldest;
  std::int64_t oldestTime = 0;
  for (const char* suffix : kBackupSuffixes) {
    const std::string candidate = binPath + suffix;
    if (files::kindOf(candidate) != files::EntryKind::File) continue;  // never a folder or link
    const auto time = files::modificationTime(candidate);
    if (time && (!oldest || *time < oldestTime)) {
      oldest = candidate;
      oldestTime = *time;
    }
  }
  const std::string name = fileNameOf(binPath);
  if (!oldest) {
    refuse(ctx, name +
                    " was not saved: all five backup names beside it (.bak and .bak1 to "
                    ".bak4) are taken. Move some of them away and save again.");
    return std::nullopt;
  }
  const std::string question = "All five backups of " + name + " exist. Replace the oldest (" +
                               fileNameOf(*oldest) + ", " + localTimeText(oldestTime) + ")?";
  if (ctx.dialogs->ask(question, false) != platform::Answer::Yes) {
    refuse(ctx, name +
                    " was not saved: all five backup names beside it are taken, and the "
                    "oldest was kept.");
    return std::nullopt;
  }
  std::error_code error;
  fs::remove(platform::pathFromUtf8(*oldest), error);
  if (error) {
    refuse(ctx, name + " was not saved: the oldest backup " + *oldest + " could not be deleted (" +
                    error.message() + ").");
    return std::nullopt;
  }
  return oldest;
}

// The converter left no good .bin: put the original back under its name,
// over whatever part the converter wrote.
void restoreAfterFailedConversion(const DocumentContext& ctx, const std::string& binPath,
                                  const std::string& backupPath, const std::string& xmlPath,
                                  const std::string& reason) {
  const std::error_code error = renameFile(backupPath, binPath);
  std::string text = fileNameOf(binPath) + " could not be written: " + reason + "\n\n";
  if (!error) {
    text += "The original file " + binPath +
            " was put back unchanged. The edited text is kept in " + xmlPath + ".";
  } else {
    text += "The original file could not be put back (" + error.message() + "): it is kept as " +
            backupPath + ". The edited text is kept in " + xmlPath + ".";
  }
  showMessage(ctx, text, platform::MessageIcon::Warning);
}

}  // namespace

std::optional<std::string> saveBin(DocumentContext& ctx) {
  const EditorSession& session = *ctx.session;
  if (session.NotBin) {
    refuse(ctx, "This file was not a .bin file, so cannot be converted back using this program.");
    return std::nullopt;
  }
  if (ctx.editor->length() == 0) {
    refuse(ctx, "There is no text to save.");
    return std::nullopt;
  }
  const std::string named = ctx.pathBox->text();
  if (named.empty()) {
    refuse(ctx, "No .bin file is named in the path box, so nothing was saved.");
    return std::nullopt;
  }
  // Nothing opened yet (no working name), or the last open failed.
  if (session.noConvertedText || session.strXML.empty()) {
    refuse(ctx, named +
                    " was not saved: the editor holds no text converted from it. Open the "
                    "file again before saving.");
    return std::nullopt;
  }
  // Through a link the file it points to is backed up and rebuilt; the link
  // stays as it is.
  const std::string binPath = files::writeTarget(named);
  if (files::kindOf(binPath) != files::EntryKind::File) {
    // Nothing to move aside (a folder would be moved aside whole).
    refuse(ctx, named + " was not saved: there is no file of that name to rebuild.");
    return std::nullopt;
  }
  const std::string xmlPath = workingPath(ctx, session.strXML);
  const std::optional<std::string> command = xmlToBinCommand(xmlPath, binPath);
  if (!command) {
    refuse(ctx, named +
                    " was not saved: its path contains a double quote (\"), which cannot be "
                    "passed to the converter.");
    return std::nullopt;
  }
  std::optional<std::string> backupPath = firstFreeBackup(binPath, nameTaken);
  if (!backupPath) backupPath = replaceOldestBackup(ctx, binPath);
  if (!backupPath) return std::nullopt;

  BusyGuard busy(ctx);
  std::string errorText;
  if (!writeWholeFile(xmlPath, ctx.editor->view(), errorText)) {
    showMessage(ctx, writeUniFileFailureText(errorText, xmlPath), platform::MessageIcon::Warning);
    return std::nullopt;
  }
  platform::processPendingMessages();

  if (const std::error_code error = renameFile(binPath, *backupPath)) {
    showMessage(ctx,
                binPath + " could not be moved aside to " + *backupPath + " (" + error.message() +
                    "), so it was not rebuilt. The edited text is kept in " + xmlPath + ".",
                platform::MessageIcon::Warning);
    return std::nullopt;
  }
  platform::processPendingMessages();

  const platform::RunResult outcome = runConverter(ctx, *command);
  if (!rebuilt(outcome, binPath)) {
    const bool wroteSomething = files::kindOf(binPath) != files::EntryKind::Missing;
    std::string reason = conversionFailureReason(ctx, outcome, "a .bin file");
    if (outcome.succeeded() && wroteSomething)
      reason = "the converter wrote a file that is not in the simulator's format.";
    restoreAfterFailedConversion(ctx, binPath, *backupPath, xmlPath, reason);
    return std::nullopt;
  }
  ctx.editor->markSaved();
  std::error_code error;
  fs::remove(platform::pathFromUtf8(xmlPath), error);
  if (error) {
    showMessage(ctx,
                binPath + " was saved, but the working file " + xmlPath +
                    " could not be deleted (" + error.message() + ").",
                platform::MessageIcon::Warning);
  }
  return backupPath;
}

}  // namespace vantrel::pipeline
