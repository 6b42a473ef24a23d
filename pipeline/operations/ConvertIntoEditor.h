#pragma once
#include <string>

#include "pipeline/operations/DocumentOperations.h"

namespace vantrel::pipeline::detail {

enum class ConvertOutcome {
  Loaded,   // the editor holds the converted text
  Refused,  // nothing ran and nothing changed; the user was told why
  Failed,   // the conversion failed; the user was told why, the editor is empty
};

// Converts inputPath to XML at xmlPath and makes that XML, byte for byte,
// the editor's whole text. A leftover file at xmlPath is deleted first, so a
// failed conversion can never show an older text; a converter that exits
// with a status other than 0 has failed, whatever it wrote. An XML larger
// than the editor can hold is refused before it is read, and the editor
// keeps its text. Messages name chosenPath.
ConvertOutcome convertIntoEditor(DocumentContext& ctx, const std::string& inputPath,
                                 const std::string& xmlPath, const std::string& chosenPath);

// Loads a file that already is text into the editor as it is; Refused when
// it cannot be read or is too large (the editor keeps its text).
ConvertOutcome loadTextIntoEditor(DocumentContext& ctx, const std::string& path);

// Remembers the document and the path box before an open, so that an open
// that is refused can leave everything as it was.
class SessionSnapshot {
 public:
  explicit SessionSnapshot(const DocumentContext& ctx);
  void restore(DocumentContext& ctx) const;

 private:
  Document document_;
  std::string pathBox_;
};

// Ends an open: Loaded makes path the document the editor's text came from;
// Refused leaves the document and the path box as they were before it.
// Done when the text was loaded.
Outcome finishOpen(DocumentContext& ctx, ConvertOutcome outcome, const SessionSnapshot& before,
                   const std::string& path);

// Opens a file that is already in the path box; `before` is the state to
// go back to when the open is refused.
using Opener = Outcome (*)(DocumentContext& ctx, const std::string& path,
                           const SessionSnapshot& before);

// The file chosen in the open dialog (starting in the simulator's folder;
// the answer goes into the path box, also a cancel), or the path given.
Outcome openThroughDialog(DocumentContext& ctx, const std::string& filter, const std::string& title,
                          Opener open);
Outcome openNamed(DocumentContext& ctx, const std::string& path, Opener open);

}  // namespace vantrel::pipeline::detail
