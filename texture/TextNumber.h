#pragma once
#include <optional>
#include <string_view>

namespace vantrel::texture {

// Reads a piece of text as a decimal number the lenient way: blanks, tabs and
// line feeds anywhere in it are skipped, a leading sign and one decimal point
// are accepted, and reading stops at the first other character (a carriage
// return included). The result is rounded to the nearest whole number, a half
// going to the even neighbour; a text without a leading number gives none.
std::optional<double> readWholeNumberLeniently(std::string_view text);

}  // namespace vantrel::texture
