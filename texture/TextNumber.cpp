#include "texture/TextNumber.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vantrel::texture {
namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Nearest whole number, a half going to the even neighbour, independent of
// the floating-point rounding mode in force.
double roundHalfToEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace

std::optional<double> readWholeNumberLeniently(std::string_view text) {
  // Gather the characters that make up the number, then let from_chars read
  // them (locale-independent, correctly rounded).
  std::string number;
  bool sawPoint = false;
  bool sawDigit = false;
  for (const char c : text) {
    if (isSkipped(c)) continue;
    if ((c == '+' || c == '-') && number.empty()) {
      number.push_back(c);
    } else if (c == '.' && !sawPoint) {
      sawPoint = true;
      number.push_back(c);
    } else if (c >= '0' && c <= '9') {
      sawDigit = true;
      number.push_back(c);
    } else {
      break;
    }
  }
  if (!sawDigit) return std::nullopt;

  std::string_view digits = number;
  bool negative = false;
  if (digits.front() == '+' || digits.front() == '-') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  double value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec == std::errc::result_out_of_range) value = HUGE_VAL;
  return roundHalfToEven(negative ? -value : value);
}

}  // namespace vantrel::texture
