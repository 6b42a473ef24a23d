#include "texture/NumberBase.h"

#include <charconv>
#include <cmath>

namespace vantrel::texture {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// The largest whole number a 96-bit exact decimal holds (29 digits).
constexpr unsigned __int128 kLargestWhole =
    (static_cast<unsigned __int128>(1) << 96) - 1;  // 79228162514264337593543950335

[[noreturn]] void fail(NumberBaseError::Reason reason, const std::string& what) {
  throw NumberBaseError(reason, what);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A text read as an exact decimal number: blanks around it, a sign, digits
// with at most one decimal point. The fraction is cut off.
unsigned __int128 wholeFromText(std::string_view text) {
  std::size_t i = 0;
  std::size_t end = text.size();
  while (i < end && isBlank(text[i])) ++i;
  while (end > i && isBlank(text[end - 1])) --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  unsigned __int128 whole = 0;
  bool anyDigit = false;
  bool anyNonZero = false;
  bool inFraction = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.' && !inFraction) {
      inFraction = true;
      continue;
    }
    if (c < '0' || c > '9')
      fail(NumberBaseError::Reason::NotANumber, "not a number: " + std::string(text));
    anyDigit = true;
    anyNonZero = anyNonZero || c != '0';
    if (inFraction) continue;
    whole = whole * 10 + static_cast<unsigned>(c - '0');
    if (whole > kLargestWhole)
      fail(NumberBaseError::Reason::Overflow, "number too large: " + std::string(text));
  }
  if (!anyDigit) fail(NumberBaseError::Reason::NotANumber, "not a number: " + std::string(text));
  if (negative && anyNonZero)
    fail(NumberBaseError::Reason::Negative, "negative number: " + std::string(text));
  return whole;
}

}  // namespace

std::string DecimalIn::asText() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  char buffer[64];
  std::to_chars_result result;
  if (const auto* whole = std::get_if<std::int64_t>(&value_)) {
    result = std::to_chars(buffer, buffer + sizeof buffer, *whole);
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value_));
  }
  return std::string(buffer, result.ptr);
}

unsigned __int128 DecimalIn::wholeNonNegative() const {
  if (const auto* whole = std::get_if<std::int64_t>(&value_)) {
    if (*whole < 0) fail(NumberBaseError::Reason::Negative, "negative number: " + asText());
    return static_cast<unsigned __int128>(*whole);
  }
  if (const auto* real = std::get_if<double>(&value_)) {
    if (std::isnan(*real)) fail(NumberBaseError::Reason::NotANumber, "not a number");
    if (*real < 0) fail(NumberBaseError::Reason::Negative, "negative number: " + asText());
    const double cut = std::trunc(*real);
    if (cut > static_cast<double>(kLargestWhole))
      fail(NumberBaseError::Reason::Overflow, "number too large: " + asText());
    return static_cast<unsigned __int128>(cut);
  }
  return wholeFromText(std::get<std::string>(value_));
}

std::int32_t Hex2Dec(std::string_view sHex) {
  if (sHex.size() > 32767)
    fail(NumberBaseError::Reason::Overflow, "hexadecimal text longer than 32767 characters");
  // Each digit is added in double precision and the sum rounded back to a
  // 32-bit integer at once, so leading zeros cost nothing and an unknown
  // character (digit value -1) lowers the sum instead of stopping.
  double n = 0;
  double weight = 1;
  for (std::size_t i = sHex.size(); i-- > 0;) {
    char c = sHex[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::size_t position = kHexDigits.find(c);
    const double digit = position == std::string_view::npos ? -1.0 : static_cast<double>(position);
    if (std::isinf(weight)) fail(NumberBaseError::Reason::Overflow, "hexadecimal text too long");
    n = std::nearbyint(n + digit * weight);
    if (n > 2147483647.0 || n < -2147483648.0) {
      fail(NumberBaseError::Reason::Overflow,
           "hexadecimal value out of the 32-bit range: " + std::string(sHex));
    }
    weight *= 16;
  }
  return static_cast<std::int32_t>(n);
}

std::string Dec2Bin(const DecimalIn& decimalIn, std::optional<long> numberOfBits) {
  unsigned __int128 x = decimalIn.wholeNonNegative();
  std::string s;
  while (x != 0) {
    s.push_back(static_cast<char>('0' + static_cast<int>(x & 1)));
    x >>= 1;
  }
  if (numberOfBits) {
    if (static_cast<long>(s.size()) > *numberOfBits) return std::string(kExceedsBitsText);
    s.append(static_cast<std::size_t>(*numberOfBits) - s.size(), '0');
  }
  return std::string(s.rbegin(), s.rend());
}

std::string Bin2Hex(std::string_view binaryString) {
  if (binaryString.find_first_not_of("01") != std::string_view::npos)
    return std::string(kNotBinaryText);
  const std::size_t padding = (4 - binaryString.size() % 4) % 4;
  std::string padded(padding, '0');
  padded += binaryString;
  std::string result;
  result.reserve(padded.size() / 4);
  for (std::size_t i = 0; i < padded.size(); i += 4) {
    int group = 0;
    for (std::size_t j = i; j < i + 4; ++j) group = group * 2 + (padded[j] - '0');
    result.push_back(kHexDigits[static_cast<std::size_t>(group)]);
  }
  return result;
}

HexTextOrMinusOne Dec2Hex(const DecimalIn& decimalIn) {
  if (decimalIn.asText().size() >= 29) return std::int16_t{-1};
  return Bin2Hex(Dec2Bin(decimalIn));
}

}  // namespace vantrel::texture
