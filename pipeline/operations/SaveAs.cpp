#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/editor/Editor.h"

namespace vantrel::pipeline {

using namespace detail;

Outcome saveAs(DocumentContext& ctx) {
  platform::FileDialogRequest request;
  request.save = true;
  request.filter = "Vantrel Files (*.*)|*.*";
  request.title = "Save Vantrel format files";
  request.startFolder = workingFolder(ctx);
  const std::string chosen = ctx.dialogs->chooseFile(request);
  if (chosen.empty()) return Outcome::cancelled();

  std::string errorText;
  if (!ctx.editor->saveToFile(chosen, errorText)) {
    showMessage(ctx, "The text could not be saved as " + chosen + " (" + errorText + ").",
                platform::MessageIcon::Warning);
    return Outcome::failed();
  }
  ctx.editor->markSaved();
  return Outcome::done();
}

}  // namespace vantrel::pipeline
