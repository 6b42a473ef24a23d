#include "pipeline/operations/OperationSupport.h"

#include <filesystem>
#include <system_error>

#include "pipeline/ByteCountText.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/WorkingFolder.h"
#include "pipeline/WorkingNames.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/core/WideText.h"
#include "platform/editor/Editor.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline::detail {

namespace fs = std::filesystem;

std::string workingFolder(const DocumentContext& ctx) {
  return workingFolderPath(ctx.programFolder);
}

std::string workingPath(const DocumentContext& ctx, std::string_view name) {
  return workingFilePath(ctx.programFolder, name);
}

BusyGuard::BusyGuard(DocumentContext& ctx, std::string fileName)
    : ctx_(ctx), fileName_(std::move(fileName)) {
  if (ctx_.setBusy) ctx_.setBusy(true, fileName_);
}

BusyGuard::~BusyGuard() {
  if (ctx_.setBusy) ctx_.setBusy(false, fileName_);
}

std::string chooseSimulatorFileIntoPathBox(const DocumentContext& ctx, const std::string& filter,
                                           const std::string& title) {
  platform::FileDialogRequest request;
  request.filter = filter;
  request.title = title;
  request.startFolder = ctx.simulatorFolder;
  const std::string chosen = ctx.dialogs->chooseFile(request);
  ctx.pathBox->setText(chosen);
  return chosen;
}

platform::RunResult runConverter(const DocumentContext& ctx, const std::string& commandLine) {
  std::error_code error;
  fs::current_path(platform::pathFromUtf8(ctx.programFolder), error);
  // A folder that cannot be made current still lets the process layer look
  // the converter up on PATH; the outcome tells whether it started.
  platform::RunOptions options;
  options.captureErrors = true;
  options.keepWaiting = ctx.keepConverting;
  platform::RunResult outcome = platform::runProgram(commandLine, options);
  platform::processPendingMessages();
  return outcome;
}

std::string conversionFailureReason(const DocumentContext& ctx, const platform::RunResult& outcome,
                                    std::string_view missingOutput) {
  if (!outcome.started) {
    return "the converter " + std::string(kConverterName) + " could not be started from " +
           ctx.programFolder + ".";
  }
  if (outcome.stopped) return "the converter was stopped, as asked, before it had finished.";
  std::string_view rest = outcome.errorOutput;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (!line.empty()) return std::string(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  if (!outcome.exitCode) return "the converter was stopped before it had finished.";
  if (*outcome.exitCode != 0) {
    return "the converter failed (exit status " + std::to_string(*outcome.exitCode) +
           ") without saying why.";
  }
  return "the converter ended without writing " + std::string(missingOutput) + ".";
}

std::string tooLargeText(const std::string& chosenPath, std::uint64_t size) {
  return fileNameOf(chosenPath) + " was not opened: its text is " + byteCountText(size) +
         ", more than the editor can hold (" + byteCountText(platform::Editor::kLargestDocument) +
         "). The editor was left as it was.";
}

bool removeStaleFile(const std::string& path, std::string& errorText) {
  std::error_code error;
  const fs::path native = platform::pathFromUtf8(path);
  const fs::file_status status = fs::symlink_status(native, error);
  if (!fs::exists(status)) return true;
  if (fs::is_directory(status)) {
    errorText = "a folder of that name is in the way";
    return false;
  }
  if (!fs::remove(native, error)) {
    errorText = error ? error.message() : "it could not be deleted";
    return false;
  }
  return true;
}

void showMessage(const DocumentContext& ctx, const std::string& text, platform::MessageIcon icon) {
  ctx.dialogs->message(text, icon);
}

}  // namespace vantrel::pipeline::detail
