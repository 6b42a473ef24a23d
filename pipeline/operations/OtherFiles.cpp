#include <filesystem>
#include <system_error>

#include "pipeline/WorkingNames.h"
#include "pipeline/operations/ConvertIntoEditor.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// Copies source over target; a source that already is the target (chosen
// from the working folder itself) needs no copy.
bool copyOver(const std::string& source, const std::string& target, std::string& errorText) {
  if (files::sameFile(source, target)) return true;
  std::error_code error;
  fs::copy_file(files::nativePath(source), files::nativePath(target),
                fs::copy_options::overwrite_existing, error);
  if (error) {
    errorText = error.message();
    return false;
  }
  return true;
}

}  // namespace

void viewOtherFiles(DocumentContext& ctx) {
  EditorSession& session = *ctx.session;
  const std::string chosenPath =
      chooseSimulatorFileIntoPathBox(ctx, "Vantrel Files (*.*)|*.*", "Open Vantrel files");
  if (chosenPath.empty()) return;

  const OtherFileNames names = otherFileWorkingNames(chosenPath);
  session.NotBin = true;

  BusyGuard busy(ctx);
  const std::string binCopy = workingPath(ctx, names.binName);
  std::string errorText;
  if (!copyOver(chosenPath, binCopy, errorText)) {
    showMessage(ctx,
                chosenPath + " could not be copied to the working file " + binCopy + " (" +
                    errorText + "), so it was not converted.",
                platform::MessageIcon::Warning);
    return;
  }
  platform::processPendingMessages();
  convertIntoEditor(ctx, binCopy, workingPath(ctx, names.xmlName), chosenPath);
}

}  // namespace vantrel::pipeline
