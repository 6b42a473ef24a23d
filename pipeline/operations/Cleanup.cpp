#include <filesystem>
#include <system_error>

#include "pipeline/DelAll.h"
#include "pipeline/WorkingFolder.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/core/WideText.h"
#include "platform/editor/Editor.h"

namespace vantrel::pipeline {

using namespace detail;

void clearEditor(DocumentContext& ctx) {
  // With nothing opened yet the working name is empty and the path names the folder
  // itself, which is no file: only the editor is cleared then.
  const std::string xmlPath = workingPath(ctx, ctx.document->workingXml());
  if (files::isReadableFile(xmlPath)) {
    std::error_code error;
    std::filesystem::remove(platform::pathFromUtf8(xmlPath), error);
    if (error) {
      showMessage(
          ctx, "The working file " + xmlPath + " could not be deleted (" + error.message() + ").",
          platform::MessageIcon::Warning);
    }
  }
  ctx.editor->setBytes({});
  ctx.document->cleared();
}

void clearTempFiles(DocumentContext& ctx) {
  const std::string folder = workingFolder(ctx);
  std::string errorText;
  const bool emptied = DelAll(folder, errorText);
  platform::processPendingMessages();
  if (!emptied) {
    showMessage(
        ctx,
        "The working folder " + folder + " could not be emptied completely (" + errorText + ").",
        platform::MessageIcon::Warning);
  }
  // Every other command writes into the folder without creating it, so it
  // must exist afterwards whatever happened above.
  if (const auto problem = ensureWorkingFolder(ctx.programFolder)) {
    showMessage(ctx, *problem, platform::MessageIcon::Warning);
  }
}

}  // namespace vantrel::pipeline
