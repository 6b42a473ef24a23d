#pragma once
#include <concepts>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// Conversions between numbers, hexadecimal text and binary text (digits 0
// and 1). Problems the callers can test for are ordinary results (the error
// texts of Dec2Bin and Bin2Hex, the -1 of Dec2Hex); problems no result can
// express (an overflow, a text that is no number, a negative value) are
// thrown as NumberBaseError, so they reach the caller and cannot be missed.
namespace vantrel::texture {

class NumberBaseError : public std::runtime_error {
 public:
  enum class Reason { Overflow, NotANumber, Negative };
  NumberBaseError(Reason reason, const std::string& what)
      : std::runtime_error(what), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

inline constexpr std::string_view kNotBinaryText = "Error - Argument not a binary string";
inline constexpr std::string_view kExceedsBitsText = "Error - Number exceeds specified bit size";

// A DecimalIn argument: a whole number, a floating-point number, or a text
// that reads as a number.
class DecimalIn {
 public:
  template <std::integral T>
  DecimalIn(T value) : value_(static_cast<std::int64_t>(value)) {}
  template <std::floating_point T>
  DecimalIn(T value) : value_(static_cast<double>(value)) {}
  DecimalIn(std::string_view text) : value_(std::string(text)) {}
  DecimalIn(const char* text) : value_(std::string(text)) {}
  DecimalIn(const std::string& text) : value_(text) {}

  // The argument written as decimal text (shortest round-trip form for a
  // floating-point number, the text itself for a text).
  std::string asText() const;
  // The value with its fraction cut off. Throws NotANumber for an unreadable text, Negative for a
  // value below 0, Overflow for a value of 29 or more digits.
  unsigned __int128 wholeNonNegative() const;

 private:
  std::variant<std::int64_t, double, std::string> value_;
};

// Hexadecimal text to number. Lower-case digits read like upper-case ones,
// the empty text gives 0, and a character that is no hexadecimal digit counts
// as the digit -1 ("1G" gives 15). Throws Overflow when the value leaves the
// 32-bit signed range (from "80000000") or the text is longer than 32767.
std::int32_t Hex2Dec(std::string_view sHex);

// Number to binary text without leading zeros (0 gives the empty text). With
// numberOfBits, the text is padded with "0" to that length, or becomes
// kExceedsBitsText when it is longer.
std::string Dec2Bin(const DecimalIn& decimalIn, std::optional<long> numberOfBits = std::nullopt);

// Binary text to upper-case hexadecimal text, one digit per 4 bits counted
// from the right ("00001111" gives "0F"); kNotBinaryText for any other
// character than 0 and 1.
std::string Bin2Hex(std::string_view binaryString);

// Either hexadecimal text or the 16-bit integer -1.
using HexTextOrMinusOne = std::variant<std::string, std::int16_t>;

// Number to upper-case hexadecimal text without leading zeros (0 gives the
// empty text, 2.9 gives "2"); the integer -1 when the argument written as
// text has 29 or more characters.
HexTextOrMinusOne Dec2Hex(const DecimalIn& decimalIn);

}  // namespace vantrel::texture
