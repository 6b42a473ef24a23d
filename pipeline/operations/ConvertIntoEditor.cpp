#include "pipeline/operations/ConvertIntoEditor.h"

#include "pipeline/ConverterCommand.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/editor/Editor.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline::detail {

namespace {

ConvertOutcome reportFailure(DocumentContext& ctx, const std::string& chosenPath,
                             const std::string& reason) {
  ctx.editor->setBytes({});
  showMessage(
      ctx,
      fileNameOf(chosenPath) + " could not be read: " + reason + "\n\nThe editor is now empty.",
      platform::MessageIcon::Warning);
  return ConvertOutcome::Failed;
}

// Reads the whole text at path into the editor. A text larger than the
// editor holds is reported here and leaves the editor as it was; any other
// failure is the caller's to report.
std::optional<files::FileError> loadIntoEditor(DocumentContext& ctx, const std::string& path,
                                               const std::string& chosenPath) {
  auto failure = ctx.editor->loadFile(path);
  if (failure && failure->kind == files::FileError::Kind::TooLarge)
    showMessage(ctx, tooLargeText(chosenPath, failure->size), platform::MessageIcon::Warning);
  return failure;
}

bool tooLarge(const std::optional<files::FileError>& failure) {
  return failure && failure->kind == files::FileError::Kind::TooLarge;
}

}  // namespace

SessionSnapshot::SessionSnapshot(const DocumentContext& ctx)
    : document_(*ctx.document), pathBox_(ctx.pathBox->text()) {}

void SessionSnapshot::restore(DocumentContext& ctx) const {
  *ctx.document = document_;
  ctx.pathBox->setText(pathBox_);
}

ConvertOutcome convertIntoEditor(DocumentContext& ctx, const std::string& inputPath,
                                 const std::string& xmlPath, const std::string& chosenPath) {
  const std::optional<std::string> command = binToXmlCommand(inputPath, xmlPath);
  if (!command) {
    showMessage(ctx,
                chosenPath +
                    " was not converted: its path contains a double quote (\"), which "
                    "cannot be passed to the converter.",
                platform::MessageIcon::Stop);
    return ConvertOutcome::Refused;
  }

  if (files::sameFile(inputPath, xmlPath)) {
    // The working XML itself was chosen: deleting it as a leftover would
    // destroy the input, and converting it would overwrite it.
    showMessage(ctx,
                chosenPath +
                    " was not converted: it is the working file the conversion would "
                    "write to. Choose a file outside the working folder.",
                platform::MessageIcon::Stop);
    return ConvertOutcome::Refused;
  }

  std::string errorText;
  if (!removeStaleFile(xmlPath, errorText)) {
    return reportFailure(
        ctx, chosenPath,
        "the old working file " + xmlPath + " could not be deleted (" + errorText + ").");
  }

  const platform::RunResult outcome = runConverter(ctx, *command);
  // Whatever a failing converter left behind is not the file's text.
  if (!outcome.succeeded())
    return reportFailure(ctx, chosenPath, conversionFailureReason(ctx, outcome, "an XML file"));

  const auto failure = loadIntoEditor(ctx, xmlPath, chosenPath);
  if (!failure) return ConvertOutcome::Loaded;
  if (tooLarge(failure)) return ConvertOutcome::Refused;
  return reportFailure(
      ctx, chosenPath,
      failure->kind == files::FileError::Kind::Missing
          ? conversionFailureReason(ctx, outcome, "an XML file")
          : "the XML file " + xmlPath + " could not be read (" + failure->reason + ").");
}

ConvertOutcome loadTextIntoEditor(DocumentContext& ctx, const std::string& path) {
  const auto failure = loadIntoEditor(ctx, path, path);
  if (!failure) return ConvertOutcome::Loaded;
  if (tooLarge(failure)) return ConvertOutcome::Refused;
  showMessage(ctx, fileNameOf(path) + " could not be read: " + failure->reason + ".",
              platform::MessageIcon::Warning);
  return ConvertOutcome::Refused;
}

Outcome finishOpen(DocumentContext& ctx, ConvertOutcome outcome, const SessionSnapshot& before,
                   const std::string& path) {
  switch (outcome) {
    case ConvertOutcome::Loaded:
      ctx.document->opened(path);
      return Outcome::done();
    case ConvertOutcome::Refused:
      before.restore(ctx);  // the editor kept its text, so the document stays with it
      return Outcome::failed();
    case ConvertOutcome::Failed:
      break;
  }
  return Outcome::failed();
}

Outcome openThroughDialog(DocumentContext& ctx, const std::string& filter, const std::string& title,
                          Opener open) {
  const SessionSnapshot before(ctx);
  const std::string chosen = chooseSimulatorFileIntoPathBox(ctx, filter, title);
  if (chosen.empty()) return Outcome::cancelled();
  return open(ctx, chosen, before);
}

Outcome openNamed(DocumentContext& ctx, const std::string& path, Opener open) {
  const SessionSnapshot before(ctx);
  ctx.pathBox->setText(path);
  return open(ctx, path, before);
}

}  // namespace vantrel::pipeline::detail
