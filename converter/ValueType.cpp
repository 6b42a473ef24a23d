#include "converter/ValueType.h"

#include <bit>

namespace serz {

std::optional<ValueType> typeFromName(std::string_view name) {
  for (const ValueTypeRow& row : kValueTypes)
    if (row.name == name) return row.type;
  return std::nullopt;
}

namespace {
constexpr std::uint32_t kFloatExponent = 0x7F800000, kFloatFraction = 0x007FFFFF;
constexpr std::uint32_t kFloatQuiet = 0x00400000;
constexpr std::uint64_t kDoubleExponent = 0x7FF0000000000000, kDoubleFraction = 0x000FFFFFFFFFFFFF;
constexpr int kFractionShift = 52 - 23;  // the fraction bits a double has beyond a float's
}  // namespace

std::uint64_t widenedFloatBits(std::uint32_t bits) {
  if ((bits & kFloatExponent) != kFloatExponent || (bits & kFloatFraction) == 0)
    return std::bit_cast<std::uint64_t>(static_cast<double>(std::bit_cast<float>(bits)));
  const std::uint64_t sign = static_cast<std::uint64_t>(bits >> 31) << 63;
  return sign | kDoubleExponent |
         static_cast<std::uint64_t>(bits & kFloatFraction) << kFractionShift;
}

std::uint32_t narrowedFloatBits(std::uint64_t bits) {
  if ((bits & kDoubleExponent) != kDoubleExponent || (bits & kDoubleFraction) == 0)
    return std::bit_cast<std::uint32_t>(static_cast<float>(std::bit_cast<double>(bits)));
  const auto sign = static_cast<std::uint32_t>(bits >> 63) << 31;
  auto fraction = static_cast<std::uint32_t>((bits & kDoubleFraction) >> kFractionShift);
  if (fraction == 0) fraction = kFloatQuiet;
  return sign | kFloatExponent | fraction;
}

}  // namespace serz
