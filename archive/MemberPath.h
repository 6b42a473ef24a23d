#pragma once
#include <optional>
#include <string>
#include <string_view>

// Member names as stored in an archive are untrusted: a hostile archive can
// name a member "../../x" or "C:\x" to have it written anywhere. Every name
// passes through here before it is shown or turned into a path on disk.
namespace vantrel::archive {

// The member's name as a relative path with '/' between its folders, or
// nullopt when it cannot be one safely. Both '/' and '\' separate folders
// (archives made on Windows use either); empty and "." components are
// dropped. Refused: a NUL anywhere, a leading separator (absolute path), a
// ".." component, a ':' (drive letters, Windows data streams), characters
// Windows forbids in names (< > " | ? * and control characters), a
// component ending in a dot or a space (Windows would silently drop it,
// so "..." or ".. " would act as ".."), a Windows device name (CON, NUL,
// COM1, "aux.bin", ...), and a name with nothing left. The same names are
// refused on every system, so an archive lists the same everywhere.
std::optional<std::string> safeMemberPath(std::string_view name);

// Where the member goes as a loose file: its path under the archive's own
// folder ("D:\Product\MainContent.ap" with "Scenery/Tree.bin" gives
// "D:\Product\Scenery\Tree.bin"), with the separator the archive's path
// uses; nullopt when the member's name is not safe (see safeMemberPath).
std::optional<std::string> looseFileFor(std::string_view archivePath, std::string_view memberPath);

}  // namespace vantrel::archive
