#pragma once
// Scalar types of value and array records, with their names and sizes.

#include <cstdint>
#include <optional>
#include <string_view>

namespace serz {

enum class ValueType : std::uint8_t {
  Bool,
  SInt8,
  UInt8,
  SInt16,
  UInt16,
  SInt32,
  UInt32,
  SInt64,
  UInt64,
  Float32,
  Float64,
  String,
};

inline constexpr int kValueTypeCount = 12;

std::string_view typeName(ValueType type);
std::optional<ValueType> typeFromName(std::string_view name);

// Payload bytes of a scalar; a String payload is a 2-byte string reference
// that may be followed by a new string, so it is handled separately.
int payloadSize(ValueType type);

inline bool isFloat(ValueType type) {
  return type == ValueType::Float32 || type == ValueType::Float64;
}

}  // namespace serz
