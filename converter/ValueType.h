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

// An sFloat32's bits as the bits of the double of the same value, as the XML
// shows it in d:alt_encoding. Worked out on the bits: the processor's
// conversion would set the quiet bit of a signalling NaN.
std::uint64_t widenedFloatBits(std::uint32_t bits);
// A double's bits narrowed to an sFloat32's, the inverse of widenedFloatBits.
// A number becomes the nearest float (infinity when it is too large); a NaN
// keeps its sign and the top 23 bits of its payload, signalling or quiet as
// they say (quiet when they are all zero, which would read as infinity).
std::uint32_t narrowedFloatBits(std::uint64_t bits);

}  // namespace serz
