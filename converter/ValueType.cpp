#include "converter/ValueType.h"

#include <array>

namespace serz {
namespace {

constexpr std::array<std::string_view, kValueTypeCount> kNames = {
    "bool",    "sInt8",  "sUInt8",  "sInt16",   "sUInt16",  "sInt32",
    "sUInt32", "sInt64", "sUInt64", "sFloat32", "sFloat64", "cDeltaString",
};
constexpr std::array<int, kValueTypeCount> kSizes = {1, 1, 1, 2, 2, 4, 4, 8, 8, 4, 8, 2};

}  // namespace

std::string_view typeName(ValueType type) { return kNames[static_cast<int>(type)]; }

std::optional<ValueType> typeFromName(std::string_view name) {
  for (int i = 0; i < kValueTypeCount; ++i)
    if (kNames[i] == name) return static_cast<ValueType>(i);
  return std::nullopt;
}

int payloadSize(ValueType type) { return kSizes[static_cast<int>(type)]; }

}  // namespace serz
