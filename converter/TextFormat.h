#pragma once
// Number text as the XML dialect writes and reads it.
//
// The simulator's converter prints floats with the older Microsoft C
// runtime: the value is first rounded to 17 significant digits (later digits
// print as 0), then to the requested precision with halves rounded away
// from zero, and exponents have at least three digits (3.40282e+038). The
// functions here print the same text.

#include "converter/OutBuf.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace serz::text {

// XML's white space.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of a hexadecimal digit, or -1.
inline int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Whether a string can be an item of XML list text (string arrays are
// written space-separated): not empty, and no white space in it.
inline bool fitsListText(std::string_view s) {
  return !s.empty() && s.find_first_of(" \t\r\n") == std::string_view::npos;
}

// Upper-case hexadecimal digits by value, as the converter writes them.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Like that runtime's printf("%g"): 6 significant digits, trailing zeros
// dropped, exponent form below 1e-4 and from 1e6 up.
void appendG(OutBuf& out, double v);
// The same into `buf` (at least 32 bytes); returns the length.
std::size_t formatG(char* buf, double v);
// Like that runtime's printf("%.7f").
void appendFixed7(OutBuf& out, double v);
// The double's 8 bytes in little-endian order as upper-case hex.
void appendHexLE(OutBuf& out, std::uint64_t bits);
void appendUnsigned(OutBuf& out, std::uint64_t v);
void appendSigned(OutBuf& out, std::int64_t v);

enum class Parse { Ok, NotANumber, OutOfRange };

std::string_view trim(std::string_view s);
Parse parseSigned(std::string_view s, std::int64_t min, std::int64_t max, std::int64_t& out);
Parse parseUnsigned(std::string_view s, std::uint64_t max, std::uint64_t& out);
// Decimal or exponent form, also inf and nan, and the runtime's own
// spellings of them (1.#INF, -1.#IND, 1.#QNAN).
Parse parseDouble(std::string_view s, double& out);
// Sixteen hex digits, little-endian byte order (the inverse of appendHexLE).
std::optional<std::uint64_t> parseHexLE(std::string_view s);

}  // namespace serz::text
