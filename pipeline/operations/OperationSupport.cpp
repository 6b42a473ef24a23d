#include "pipeline/operations/OperationSupport.h"

#include <QLineEdit>
#include <filesystem>
#include <system_error>

#include "pipeline/ConverterCommand.h"
#include "platform/core/MessagePump.h"
#include "platform/core/Paths.h"
#include "platform/ui/AnsiText.h"

namespace vantrel::pipeline::detail {

namespace fs = std::filesystem;

std::string workingFolder(const DocumentContext& ctx) {
  return platform::joinPath(ctx.programFolder, "TempFiles");
}

std::string workingPath(const DocumentContext& ctx, std::string_view name) {
  return platform::joinPath(workingFolder(ctx), name);
}

BusyGuard::BusyGuard(DocumentContext& ctx) : ctx_(ctx) {
  if (ctx_.setBusy) ctx_.setBusy(true);
}

BusyGuard::~BusyGuard() {
  if (ctx_.setBusy) ctx_.setBusy(false);
}

QString chooseSimulatorFileIntoPathBox(const DocumentContext& ctx, const QString& filter,
                                       const QString& title) {
  platform::FileDialogRequest request;
  request.filter = filter;
  request.title = title;
  request.startFolder = pathText(ctx.session->VantrelPath);
  const QString chosen = platform::dialogs().chooseFile(ctx.window, request);
  ctx.pathBox->setText(chosen);
  return chosen;
}

RunOutcome runConverter(const DocumentContext& ctx, const std::string& commandLine) {
  std::error_code error;
  fs::current_path(ctx.programFolder, error);
  // A folder that cannot be made current still lets the process layer look
  // the converter up on PATH; the outcome tells whether it started.
  RunOutcome outcome = RunAndWaitCapturingErrors(commandLine, True, 0);
  platform::processPendingMessages();
  return outcome;
}

QString conversionFailureReason(const DocumentContext& ctx, const RunOutcome& outcome,
                                std::string_view missingOutput) {
  if (outcome.processId == 0) {
    return QStringLiteral("The converter %1 could not be started from %2.")
        .arg(QString::fromLatin1(kConverterName.data(),
                                 static_cast<qsizetype>(kConverterName.size())),
             pathText(ctx.programFolder));
  }
  std::string_view rest = outcome.errorOutput;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (!line.empty()) return QStringLiteral("The converter reported: ") + systemText(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return QStringLiteral("The converter ended without writing %1.")
      .arg(QString::fromUtf8(missingOutput.data(), static_cast<qsizetype>(missingOutput.size())));
}

bool removeStaleFile(const std::string& path, std::string& errorText) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status)) return true;
  if (fs::is_directory(status)) {
    errorText = "a folder of that name is in the way";
    return false;
  }
  if (!fs::remove(path, error)) {
    errorText = error ? error.message() : "it could not be deleted";
    return false;
  }
  return true;
}

QString pathText(std::string_view nativePath) { return platform::fromNativePath(nativePath); }

QString systemText(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

void showMessage(const DocumentContext& ctx, const QString& text, platform::MessageIcon icon) {
  platform::dialogs().message(ctx.window, text, icon);
}

}  // namespace vantrel::pipeline::detail
