#pragma once
#include <string>

#include "pipeline/operations/DocumentOperations.h"

namespace vantrel::pipeline::detail {

// Converts inputPath to XML at xmlPath and makes that XML, byte for byte,
// the editor's whole text. A leftover file at xmlPath is deleted first, so a
// failed conversion can never show an older text. On failure the user is
// told why (naming chosenPath), the editor is emptied and false returned.
bool convertIntoEditor(DocumentContext& ctx, const std::string& inputPath,
                       const std::string& xmlPath, const std::string& chosenPath);

}  // namespace vantrel::pipeline::detail
