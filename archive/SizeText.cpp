#include "archive/SizeText.h"

#include <cmath>
#include <iterator>

namespace vantrel::archive {

std::string sizeText(std::uint64_t bytes) {
  if (bytes == 1) return "1 byte";
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  // Rounded to one decimal a value just under 1024 would read "1024.0 KB".
  while (value >= 1023.95 && unit + 1 < std::size(kUnits)) {
    value /= 1024.0;
    ++unit;
  }
  // Written by hand rather than with printf, whose decimal point follows
  // the locale the window toolkit may have set.
  const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10.0));
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[unit];
}

}  // namespace vantrel::archive
