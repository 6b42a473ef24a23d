#include <filesystem>
#include <system_error>

#include "pipeline/DelAll.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"

namespace vantrel::pipeline {

using namespace detail;
namespace fs = std::filesystem;

void clearEditor(DocumentContext& ctx) {
  // With nothing opened yet strXML is empty and the path names the folder
  // itself, which FileCanOpen rejects: only the editor is cleared then.
  const std::string xmlPath = workingPath(ctx, ctx.session->strXML);
  if (FileCanOpen(xmlPath) == True) {
    std::error_code error;
    fs::remove(xmlPath, error);
    if (error) {
      showMessage(ctx,
                  QStringLiteral("The working file %1 could not be deleted (%2).")
                      .arg(pathText(xmlPath), systemText(error.message())),
                  platform::MessageIcon::Warning);
    }
  }
  ctx.editor->setBytes({});
}

void clearTempFiles(DocumentContext& ctx) {
  const std::string folder = workingFolder(ctx);
  std::string errorText;
  const bool emptied = DelAll(folder, errorText);
  platform::processPendingMessages();
  if (!emptied) {
    showMessage(ctx,
                QStringLiteral("The working folder %1 could not be emptied completely (%2).")
                    .arg(pathText(folder), systemText(errorText)),
                platform::MessageIcon::Warning);
  }
  // Every other command writes into the folder without creating it, so it
  // must exist afterwards whatever happened above.
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder, error)) {
    showMessage(ctx,
                QStringLiteral("The working folder %1 could not be created (%2). Open .bin "
                               "and View other files need it.")
                    .arg(pathText(folder),
                         systemText(error ? error.message() : "a file of that name is in the way")),
                platform::MessageIcon::Warning);
  }
}

}  // namespace vantrel::pipeline
