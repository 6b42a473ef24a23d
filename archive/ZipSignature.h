#pragma once
#include <string>
#include <string_view>

// Telling a packed file (.ap, or a ZIP under any name) from a SERZ file or
// an XML file by its content, never by its name.
namespace vantrel::archive {

// The first bytes of a ZIP file: a member's local header ("PK\3\4"), or the
// end record of an archive without members ("PK\5\6").
bool startsLikeZip(std::string_view firstBytes);

// True when the regular file at path starts like a ZIP file (reads 4 bytes).
bool looksLikeZip(const std::string& path);

}  // namespace vantrel::archive
