#include "pipeline/operations/ConvertIntoEditor.h"

#include <filesystem>
#include <system_error>

#include "pipeline/ConverterCommand.h"
#include "pipeline/UniFile.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/editor/Editor.h"

namespace vantrel::pipeline::detail {

namespace {

void reportFailure(DocumentContext& ctx, const std::string& chosenPath, const QString& reason) {
  ctx.editor->setBytes({});
  showMessage(ctx,
              QStringLiteral("%1 could not be converted to XML, so the editor is now empty.\n\n%2")
                  .arg(pathText(chosenPath), reason),
              platform::MessageIcon::Warning);
}

}  // namespace

bool convertIntoEditor(DocumentContext& ctx, const std::string& inputPath,
                       const std::string& xmlPath, const std::string& chosenPath) {
  const std::optional<std::string> command = binToXmlCommand(inputPath, xmlPath);
  if (!command) {
    // Refused before anything ran: the editor keeps its text.
    showMessage(ctx,
                QStringLiteral("%1 was not converted: its path contains a double quote (\"), "
                               "which cannot be passed to the converter.")
                    .arg(pathText(chosenPath)),
                platform::MessageIcon::Stop);
    return false;
  }

  std::error_code error;
  if (std::filesystem::equivalent(inputPath, xmlPath, error)) {
    // The working XML itself was chosen: deleting it as a leftover would
    // destroy the input, and converting it would overwrite it.
    showMessage(ctx,
                QStringLiteral("%1 was not converted: it is the working file the conversion "
                               "would write to. Choose a file outside the working folder.")
                    .arg(pathText(chosenPath)),
                platform::MessageIcon::Stop);
    return false;
  }

  std::string errorText;
  if (!removeStaleFile(xmlPath, errorText)) {
    reportFailure(ctx, chosenPath,
                  QStringLiteral("The old working file %1 could not be deleted: %2")
                      .arg(pathText(xmlPath), systemText(errorText)));
    return false;
  }

  const RunOutcome outcome = runConverter(ctx, *command);

  std::string text;
  if (!readWholeFile(xmlPath, text, errorText)) {
    const QString reason =
        errorText.empty()
            ? conversionFailureReason(ctx, outcome, "an XML file")
            : QStringLiteral("The XML file %1 could not be read: %2")
                  .arg(pathText(xmlPath), systemText(errorText));
    reportFailure(ctx, chosenPath, reason);
    return false;
  }
  ctx.editor->setBytes(text);
  return true;
}

}  // namespace vantrel::pipeline::detail
