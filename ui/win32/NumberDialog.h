#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vantrel::win32 {

// A small modal box asking for a whole number: prompt, a digits-only field
// holding value, OK and Cancel. Enter is OK, Escape is Cancel. A number
// outside minimum..maximum is refused with a message and asked again.
std::optional<long> askNumberBox(HWND owner, const std::string& title, const std::string& prompt,
                                 long minimum, long maximum, long value);

}  // namespace vantrel::win32
