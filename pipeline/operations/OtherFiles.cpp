#include <QLineEdit>
#include <filesystem>
#include <system_error>

#include "pipeline/WorkingNames.h"
#include "pipeline/operations/ConvertIntoEditor.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/ui/AnsiText.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// Copies source over target; a source that already is the target (chosen
// from the working folder itself) needs no copy.
bool copyOver(const std::string& source, const std::string& target, std::string& errorText) {
  std::error_code error;
  if (fs::equivalent(source, target, error)) return true;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
  if (error) {
    errorText = error.message();
    return false;
  }
  return true;
}

}  // namespace

void viewOtherFiles(DocumentContext& ctx) {
  EditorSession& session = *ctx.session;
  const QString chosen = chooseSimulatorFileIntoPathBox(
      ctx, QStringLiteral("Vantrel Files (*.*)|*.*"), QStringLiteral("Open Vantrel files"));
  if (chosen.isEmpty()) return;

  const std::string chosenPath = platform::toNativePath(chosen);
  const OtherFileNames names = otherFileWorkingNames(chosenPath);
  session.NotBin = True;

  BusyGuard busy(ctx);
  const std::string binCopy = workingPath(ctx, names.binName);
  std::string errorText;
  if (!copyOver(chosenPath, binCopy, errorText)) {
    showMessage(ctx,
                QStringLiteral("%1 could not be copied to the working file %2 (%3), so it was "
                               "not converted.")
                    .arg(chosen, pathText(binCopy), systemText(errorText)),
                platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();
  convertIntoEditor(ctx, binCopy, workingPath(ctx, names.xmlName), chosenPath);
}

void saveAs(DocumentContext& ctx) {
  platform::FileDialogRequest request;
  request.save = true;
  request.filter = QStringLiteral("Vantrel Files (*.*)|*.*");
  request.title = QStringLiteral("Save Vantrel format files");
  request.startFolder = pathText(workingFolder(ctx));
  const QString chosen = platform::dialogs().chooseFile(ctx.window, request);
  if (chosen.isEmpty()) return;

  std::string errorText;
  if (!ctx.editor->saveToFile(platform::toNativePath(chosen), errorText)) {
    showMessage(ctx,
                QStringLiteral("The text could not be saved as %1 (%2).")
                    .arg(chosen, systemText(errorText)),
                platform::MessageIcon::Warning);
  }
}

}  // namespace vantrel::pipeline
