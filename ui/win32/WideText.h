#pragma once
#include <string>
#include <string_view>

// The core speaks UTF-8; the window API speaks UTF-16. Texts cross here, at
// the edge, and nowhere else.
namespace vantrel::win32 {

// Bytes that are not UTF-8 become U+FFFD.
std::wstring widen(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string narrow(std::wstring_view wide);

}  // namespace vantrel::win32
