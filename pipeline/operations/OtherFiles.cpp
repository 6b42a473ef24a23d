#include <filesystem>
#include <system_error>

#include "archive/ZipSignature.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/ConvertIntoEditor.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OpenArchive.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/core/WideText.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

namespace {

// Copies source over target; a source that already is the target (chosen
// from the working folder itself) needs no copy.
bool copyOver(const std::string& source, const std::string& target, std::string& errorText) {
  if (files::sameFile(source, target)) return true;
  std::error_code error;
  fs::copy_file(platform::pathFromUtf8(source), platform::pathFromUtf8(target),
                fs::copy_options::overwrite_existing, error);
  if (error) {
    errorText = error.message();
    return false;
  }
  return true;
}

// A file that already is XML text (its first character, after blanks and
// a byte-order mark, is '<') needs no converter.
bool looksLikeXml(const std::string& path) {
  std::string bytes;
  if (files::readStart(path, 64, bytes)) return false;
  std::string_view start = bytes;
  if (start.substr(0, 3) == "\xEF\xBB\xBF") start.remove_prefix(3);
  const std::size_t first = start.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && start[first] == '<';
}

Outcome viewChosen(DocumentContext& ctx, const std::string& chosenPath,
                   const SessionSnapshot& before) {
  if (archive::looksLikeZip(chosenPath)) return openArchive(ctx, chosenPath, before);
  ctx.document->beginOtherOpen();

  BusyGuard busy(ctx, fileNameOf(chosenPath));
  ConvertOutcome outcome = ConvertOutcome::Refused;
  if (looksLikeXml(chosenPath)) {
    outcome = loadTextIntoEditor(ctx, chosenPath);
  } else {
    const OtherFileNames names = otherFileWorkingNames(chosenPath);
    const std::string binCopy = workingPath(ctx, names.binName);
    std::string errorText;
    if (!copyOver(chosenPath, binCopy, errorText)) {
      showMessage(ctx,
                  chosenPath + " could not be copied to the working file " + binCopy + " (" +
                      errorText + "), so it was not converted.",
                  platform::MessageIcon::Warning);
    } else {
      platform::processPendingMessages();
      outcome = convertIntoEditor(ctx, binCopy, workingPath(ctx, names.xmlName), chosenPath);
    }
  }
  return finishOpen(ctx, outcome, before, chosenPath);
}

}  // namespace

Outcome viewOtherFiles(DocumentContext& ctx) {
  return openThroughDialog(ctx, "Vantrel Files (*.*)|*.*", "Open Vantrel files", viewChosen);
}

Outcome viewOtherFile(DocumentContext& ctx, const std::string& path) {
  return openNamed(ctx, path, viewChosen);
}

}  // namespace vantrel::pipeline
