#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// Splits a command line into arguments the way Windows programs receive
// them: blanks and tabs separate arguments except inside double quotes;
// 2n backslashes before a quote give n backslashes and the quote toggles
// quoting, 2n+1 give n backslashes and a literal quote; other backslashes
// are literal; "" inside quotes is a literal quote. The first argument (the
// program) only honours quotes, so `"C:\a b\x.exe"` stays one path.
// Example: `serz.exe "a b.bin" xml:"C:\x"` gives serz.exe, a b.bin, xml:C:\x.
std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine);

}  // namespace vantrel::platform
