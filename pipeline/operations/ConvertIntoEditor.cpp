#include "pipeline/operations/ConvertIntoEditor.h"

#include "pipeline/ConverterCommand.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/editor/Editor.h"

namespace vantrel::pipeline::detail {

namespace {

void reportFailure(DocumentContext& ctx, const std::string& chosenPath, const std::string& reason) {
  ctx.editor->setBytes({});
  showMessage(ctx,
              chosenPath + " could not be converted to XML, so the editor is now empty.\n\n" + reason,
              platform::MessageIcon::Warning);
}

}  // namespace

bool convertIntoEditor(DocumentContext& ctx, const std::string& inputPath,
                       const std::string& xmlPath, const std::string& chosenPath) {
  const std::optional<std::string> command = binToXmlCommand(inputPath, xmlPath);
  if (!command) {
    // Refused before anything ran: the editor keeps its text.
    showMessage(ctx,
                chosenPath + " was not converted: its path contains a double quote (\"), which "
                             "cannot be passed to the converter.",
                platform::MessageIcon::Stop);
    return false;
  }

  if (files::sameFile(inputPath, xmlPath)) {
    // The working XML itself was chosen: deleting it as a leftover would
    // destroy the input, and converting it would overwrite it.
    showMessage(ctx,
                chosenPath + " was not converted: it is the working file the conversion would "
                             "write to. Choose a file outside the working folder.",
                platform::MessageIcon::Stop);
    return false;
  }

  std::string errorText;
  if (!removeStaleFile(xmlPath, errorText)) {
    reportFailure(ctx, chosenPath,
                  "The old working file " + xmlPath + " could not be deleted: " + errorText);
    return false;
  }

  const platform::RunResult outcome = runConverter(ctx, *command);

  std::string text;
  if (const auto failure = files::readWhole(xmlPath, text)) {
    const std::string reason =
        failure->kind == files::FileError::Kind::Missing
            ? conversionFailureReason(ctx, outcome, "an XML file")
            : "The XML file " + xmlPath + " could not be read: " + failure->reason;
    reportFailure(ctx, chosenPath, reason);
    return false;
  }
  ctx.editor->setBytes(text);
  return true;
}

}  // namespace vantrel::pipeline::detail
