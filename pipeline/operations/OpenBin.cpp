#include "archive/ZipSignature.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/ConvertIntoEditor.h"
#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/OpenArchive.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline {

using namespace detail;

namespace {

// Opens binPath, which is already in the path box. An open that is refused
// before anything changed leaves the document as `before`.
Outcome openChosen(DocumentContext& ctx, const std::string& binPath,
                   const SessionSnapshot& before) {
  if (archive::looksLikeZip(binPath)) return openArchive(ctx, binPath, before);
  const std::optional<std::string> xmlName = workingXmlName(binPath);
  if (!xmlName) {
    // Handled like a cancelled dialog: the path box must not name a file the
    // editor's text did not come from, or Save .bin would write over it.
    ctx.pathBox->setText({});
    showMessage(ctx,
                binPath +
                    " was not opened: its name is too short to give a working XML name (it "
                    "needs at least four characters).",
                platform::MessageIcon::Warning);
    return Outcome::failed();
  }

  BusyGuard busy(ctx, fileNameOf(binPath));
  // Until the conversion has succeeded the editor holds nothing that may be
  // written over the chosen file.
  ctx.document->beginBinOpen(*xmlName);
  return finishOpen(ctx, convertIntoEditor(ctx, binPath, workingPath(ctx, *xmlName), binPath),
                    before, binPath);
}

}  // namespace

Outcome openBin(DocumentContext& ctx) {
  return openThroughDialog(ctx,
                           "BIN Files (*.bin)|*.bin|Packed files (*.ap)|*.ap|All files (*.*)|*.*",
                           "Open Vantrel .bin file", openChosen);
}

Outcome openBinFile(DocumentContext& ctx, const std::string& binPath) {
  return openNamed(ctx, binPath, openChosen);
}

Outcome openPackedMember(DocumentContext& ctx, const std::string& archivePath,
                         const std::string& memberPath) {
  const SessionSnapshot before(ctx);
  return openArchiveMember(ctx, archivePath, memberPath, before);
}

}  // namespace vantrel::pipeline
