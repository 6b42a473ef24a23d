#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// The program carries every text, file names included, as UTF-8 in
// std::string. Windows takes names and command lines as UTF-16 through its
// wide API (the ...W functions, _wfopen); these conversions sit at that
// border. Invalid UTF-8 becomes U+FFFD. A name Windows hands over with an
// unpaired surrogate (NTFS allows it) is carried in the three-byte form of
// that surrogate and converted back to the same unit, so such a file can
// still be opened.
namespace vantrel::platform {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

#ifdef _WIN32
std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);
#endif

// A path for std::filesystem and the file streams from a UTF-8 name: on
// Windows through UTF-16, elsewhere the bytes as they are (Linux names are
// bytes, UTF-8 by convention).
std::filesystem::path pathFromUtf8(std::string_view name);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace vantrel::platform
