#pragma once
#include <string>

#include "pipeline/operations/ConvertIntoEditor.h"

namespace vantrel::pipeline::detail {

// A file whose content is a ZIP file (a packed .ap, under any name): the
// user picks one of its SERZ members, which is taken out into TempFiles and
// converted as a loose .bin would be. The document then names the member's
// loose file beside the packed file (the path box shows it); the packed
// file itself is only read. Cancelled when the user picks nothing; a
// failure before the conversion leaves everything as `before`.
Outcome openArchive(DocumentContext& ctx, const std::string& archivePath,
                    const SessionSnapshot& before);

// The member at memberPath (as Archive::members() names it) of the packed
// file at archivePath, opened as openArchive opens a picked one, without
// the picker. A member no longer there is refused with a message.
Outcome openArchiveMember(DocumentContext& ctx, const std::string& archivePath,
                          const std::string& memberPath, const SessionSnapshot& before);

}  // namespace vantrel::pipeline::detail
