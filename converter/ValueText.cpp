#include "converter/ValueText.h"

#include "converter/Failure.h"
#include "converter/Quote.h"
#include "converter/TextFormat.h"

#include <bit>
#include <cmath>
#include <string>

namespace serz::valuetext {
namespace {

using detail::fail;

[[noreturn]] void notANumber(std::string_view s, std::string_view what, const Where& where) {
  fail(where.offset(), quoted(s) + " is not a number for " + std::string(what));
}
[[noreturn]] void doesNotFit(std::string_view s, std::string_view what, const Where& where) {
  fail(where.offset(), "the value " + quoted(text::trim(s)) + " does not fit " + std::string(what));
}

// The parsed number, or the failure that names what the text is not.
template <typename T>
T parsed(text::Parse result, T value, std::string_view s, std::string_view what,
         const Where& where) {
  if (result == text::Parse::NotANumber) notANumber(s, what, where);
  if (result == text::Parse::OutOfRange) doesNotFit(s, what, where);
  return value;
}

std::int64_t signedNumber(std::string_view s, std::int64_t min, std::int64_t max,
                          std::string_view what, const Where& where) {
  std::int64_t v = 0;
  const text::Parse result = text::parseSigned(s, min, max, v);
  return parsed(result, v, s, what, where);
}

double floatNumber(std::string_view s, std::string_view what, const Where& where) {
  double v = 0;
  const text::Parse result = text::parseDouble(s, v);
  return parsed(result, v, s, what, where);
}

std::uint64_t floatBits(ValueType type, double v, std::string_view s, const Where& where) {
  if (payloadSize(type) == 8) return std::bit_cast<std::uint64_t>(v);
  const auto f = static_cast<float>(v);
  if (std::isinf(f) && !std::isinf(v)) doesNotFit(s, "sFloat32", where);
  return std::bit_cast<std::uint32_t>(f);
}

}  // namespace

std::uint64_t unsignedNumber(std::string_view s, std::uint64_t max, std::string_view what,
                             const Where& where) {
  std::uint64_t v = 0;
  const text::Parse result = text::parseUnsigned(s, max, v);
  return parsed(result, v, s, what, where);
}

std::uint32_t id32(std::string_view s, std::string_view what, const Where& where) {
  if (!text::trim(s).starts_with('-'))
    return static_cast<std::uint32_t>(unsignedNumber(s, 0xFFFFFFFF, what, where));
  return static_cast<std::uint32_t>(signedNumber(s, INT32_MIN, 0, what, where));
}

std::uint64_t scalar(ValueType type, std::string_view s, const Where& where) {
  const std::string_view what = typeName(type);
  const int bits = 8 * payloadSize(type);
  // The largest unsigned and signed values the payload holds.
  const std::uint64_t most = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  const auto largest = static_cast<std::int64_t>(most >> 1);
  switch (textForm(type)) {
    case TextForm::Bool:
    case TextForm::Unsigned:
      return unsignedNumber(s, most, what, where);
    case TextForm::Signed:
      return static_cast<std::uint64_t>(signedNumber(s, -largest - 1, largest, what, where)) & most;
    case TextForm::Float:
      return floatBits(type, floatNumber(s, what, where), s, where);
    case TextForm::String:
      break;
  }
  return 0;
}

std::uint64_t floatValue(ValueType type, std::string_view s, const Where& where,
                         std::optional<AltEncoding> alt) {
  if (!alt) return scalar(type, s, where);
  const auto bits = text::parseHexLE(alt->text);
  if (!bits) fail(alt->position, "d:alt_encoding is not 16 hexadecimal digits");
  const double exact = std::bit_cast<double>(*bits);
  // The text still shows the alt_encoding's number when it reads as the
  // same value as the text serz would print for it.
  char printed[64];
  const std::string_view shown(printed, text::formatG(printed, exact));
  const std::string_view typed = text::trim(s);
  bool same = typed == shown;
  if (!same) {
    double typedValue = 0, shownValue = 0;
    same = text::parseDouble(typed, typedValue) == text::Parse::Ok &&
           text::parseDouble(shown, shownValue) == text::Parse::Ok && typedValue == shownValue;
  }
  if (!same) return scalar(type, s, where);
  if (payloadSize(type) == 8) return *bits;
  // Narrowed on the bits, so that a signalling NaN stays signalling.
  const std::uint32_t f = narrowedFloatBits(*bits);
  if (std::isinf(std::bit_cast<float>(f)) && std::isfinite(exact))
    fail(alt->position, "d:alt_encoding does not fit sFloat32");
  return f;
}

}  // namespace serz::valuetext
