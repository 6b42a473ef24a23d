#include <ctime>
#include <filesystem>
#include <regex>
#include <system_error>
#include <utility>

#include "pipeline/BackupSlots.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/SaveSteps.h"
#include "pipeline/UniFile.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "pipeline/operations/WrittenBinCheck.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/core/WideText.h"
#include "platform/editor/Editor.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

void refuse(const DocumentContext& ctx, const std::string& text) {
  showMessage(ctx, text, platform::MessageIcon::Stop);
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
  return oldest;  // deleted only once the new .bin is whole
}

// "line L, column C" in a converter's reason: where in the XML it stopped.
std::optional<std::pair<long, long>> namedPlace(const std::string& reason) {
  static const std::regex place(R"(line (\d{1,10}), column (\d{1,10}))");
  std::smatch match;
  if (!std::regex_search(reason, match, place)) return std::nullopt;
  return std::pair{std::stol(match[1].str()), std::stol(match[2].str())};
}

// The new .bin was not written whole: the old one never moved, so only
// the converter's output goes.
void reportFailedConversion(const DocumentContext& ctx, const std::string& binPath,
                            const std::string& savingPath, const std::string& xmlPath,
                            const std::string& reason) {
  removeQuietly(savingPath);
  // The working XML is the editor's text byte for byte, so the place the
  // converter names is the same place in the editor: the caret goes there
  // and the line is marked.
  if (const auto place = namedPlace(reason)) {
    ctx.editor->goToLineColumn(place->first, place->second);
    ctx.editor->markLine(place->first);
  }
  showMessage(ctx,
              fileNameOf(binPath) + " could not be written: " + reason + "\n\nThe original file " +
                  binPath + " was left unchanged. The edited text is kept in " + xmlPath + ".",
              platform::MessageIcon::Warning);
}

}  // namespace

Outcome saveBin(DocumentContext& ctx) {
  const Document& document = *ctx.document;
  if (document.cameFromOtherFile()) {
    refuse(ctx, "This file was not a .bin file, so cannot be converted back using this program.");
    return Outcome::failed();
  }
  if (ctx.editor->length() == 0) {
    refuse(ctx, "There is no text to save.");
    return Outcome::failed();
  }
  const std::string named = ctx.pathBox->text();
  if (named.empty()) {
    refuse(ctx, "No .bin file is named in the path box, so nothing was saved.");
    return Outcome::failed();
  }
  // Nothing opened yet (no working name), or the last open failed.
  if (!document.isBin()) {
    refuse(ctx, named +
                    " was not saved: the editor holds no text converted from it. Open the "
                    "file again before saving.");
    return Outcome::failed();
  }
  // Through a link the file it points to is backed up and rebuilt; the link
  // stays as it is.
  const std::string binPath = files::writeTarget(named);
  const bool packed = document.kind() == Document::Kind::ArchiveMember;
  if (packed && files::sameFile(binPath, document.archivePath())) {
    refuse(ctx, named +
                    " was not saved: it is the packed file the text came from, and Save .bin "
                    "never writes a packed file. Name the loose file to write in the path box.");
    return Outcome::failed();
  }
  if (packed && !document.looseWriteAgreed()) {
    const platform::Answer answer =
        ctx.dialogs->ask(document.name() + " is packed in " + fileNameOf(document.archivePath()) +
                             ". Save .bin writes it as the loose file " + named +
                             "; the archive stays as it is. Go on?",
                         false);
    if (answer != platform::Answer::Yes) return Outcome::cancelled();
    ctx.document->agreeToLooseWrite();
  }
  // A member's loose file may not be there yet: it is made, with its folders.
  const bool newLooseFile = packed && files::kindOf(binPath) == files::EntryKind::Missing;
  if (newLooseFile) {
    std::error_code folderError;
    fs::create_directories(platform::pathFromUtf8(binPath).parent_path(), folderError);
    if (folderError) {
      refuse(ctx, named + " was not saved: its folder could not be made (" + folderError.message() +
                      ").");
      return Outcome::failed();
    }
  }
  if (!newLooseFile && files::kindOf(binPath) != files::EntryKind::File) {
    refuse(ctx, named + " was not saved: there is no file of that name to rebuild.");
    return Outcome::failed();
  }
  if (files::isReadOnly(binPath)) {
    refuse(ctx, named +
                    " was not saved: the file is read-only. Clear its read-only mark (or give "
                    "yourself the right to write it) and save again.");
    return Outcome::failed();
  }
  const std::optional<std::string> savingPath = freeSavingName(binPath);
  if (!savingPath) {
    refuse(ctx, named + " was not saved: the names for its new version beside it (" +
                    fileNameOf(savingName(binPath, 1)) + " to " +
                    fileNameOf(savingName(binPath, 9)) +
                    ") are all taken. Move them away and save again.");
    return Outcome::failed();
  }
  const std::string xmlPath = workingPath(ctx, document.workingXml());
  const std::optional<std::string> command = xmlToBinCommand(xmlPath, *savingPath);
  if (!command) {
    refuse(ctx, named +
                    " was not saved: its path contains a double quote (\"), which cannot be "
                    "passed to the converter.");
    return Outcome::failed();
  }
  // A new loose file has nothing to back up.
  std::optional<std::string> backupPath;
  if (!newLooseFile) {
    backupPath = firstFreeBackup(binPath, nameTaken);
    if (!backupPath) backupPath = replaceOldestBackup(ctx, binPath);
    if (!backupPath) return Outcome::failed();
  }

  BusyGuard busy(ctx, fileNameOf(binPath));
  std::string errorText;
  if (!writeWholeFile(xmlPath, ctx.editor->view(), errorText)) {
    showMessage(ctx, writeUniFileFailureText(errorText, xmlPath), platform::MessageIcon::Warning);
    return Outcome::failed();
  }
  platform::processPendingMessages();

  // The old .bin stays at its path until the new one is known to be whole,
  // so a stop, a crash or a kill at any moment leaves it there.
  const platform::RunResult outcome = runConverter(ctx, *command);
  if (outcome.stopped) {
    removeQuietly(*savingPath);
    return Outcome::cancelled();
  }
  if (!outcome.succeeded() || files::kindOf(*savingPath) != files::EntryKind::File) {
    reportFailedConversion(ctx, binPath, *savingPath, xmlPath,
                           conversionFailureReason(ctx, outcome, "a .bin file"));
    return Outcome::failed();
  }
  if (const auto notWhole = checkWrittenBin(*savingPath)) {
    reportFailedConversion(ctx, binPath, *savingPath, xmlPath,
                           "the converter wrote a file that " + *notWhole + ".");
    return Outcome::failed();
  }

  std::error_code error;
  if (backupPath) {
    // The new file gets the old one's permission bits.
    const fs::perms perms = fs::status(platform::pathFromUtf8(binPath), error).permissions();
    if (!error) fs::permissions(platform::pathFromUtf8(*savingPath), perms, error);
    error.clear();
    if (nameTaken(*backupPath)) removeQuietly(*backupPath);  // the oldest, as the user agreed
  }
  if (const std::error_code keepError =
          backupPath ? keepAsBackup(binPath, *backupPath) : std::error_code()) {
    removeQuietly(*savingPath);
    showMessage(ctx,
                binPath + " was not rebuilt: its backup " + *backupPath + " could not be made (" +
                    keepError.message() +
                    "). The file was left unchanged; the edited text is kept in " + xmlPath + ".",
                platform::MessageIcon::Warning);
    return Outcome::failed();
  }
  // One step: the old name now names the new file.
  if (const auto moveError = files::moveOver(*savingPath, binPath)) {
    removeQuietly(*savingPath);
    if (backupPath) removeQuietly(*backupPath);
    showMessage(ctx,
                binPath + " was not rebuilt: the new version could not take its name (" +
                    moveError->reason +
                    "). The file was left unchanged; the edited text is kept in " + xmlPath + ".",
                platform::MessageIcon::Warning);
    return Outcome::failed();
  }
  ctx.editor->markSaved();
  ctx.editor->clearMark();
  fs::remove(platform::pathFromUtf8(xmlPath), error);
  if (error) {
    showMessage(ctx,
                binPath + " was saved, but the working file " + xmlPath +
                    " could not be deleted (" + error.message() + ").",
                platform::MessageIcon::Warning);
  }
  return Outcome::done(backupPath.value_or(""));
}

}  // namespace vantrel::pipeline
