#pragma once
// Scalar types of value and array records, in one table that the readers and
// writers of both forms share: a new type is an enumerator and its row here.
// A row gives the type's name, its payload size and its text form; reading
// and printing follow from those, so a new integer, float (4 or 8 bytes) or
// string type needs nothing else.

#include <array>
#include <cstddef>
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

// How a value of the type is written as XML text.
enum class TextForm : std::uint8_t {
  Bool,      // 0 or 1; a stored byte other than 0 prints as 1
  Unsigned,  // decimal, 0 up to the largest the payload holds
  Signed,    // decimal, two's complement in the payload
  Float,     // printf("%g") with d:alt_encoding (IEEE single or double)
  String,    // the characters; the payload is a 2-byte string reference that
             // may be followed by a new string, so it is handled separately
};

struct ValueTypeRow {
  ValueType type;
  std::string_view name;  // in the binary's type strings and in d:type
  int size;               // payload bytes
  TextForm form;
};

inline constexpr auto kValueTypes = std::to_array<ValueTypeRow>({
    {ValueType::Bool, "bool", 1, TextForm::Bool},
    {ValueType::SInt8, "sInt8", 1, TextForm::Signed},
    {ValueType::UInt8, "sUInt8", 1, TextForm::Unsigned},
    {ValueType::SInt16, "sInt16", 2, TextForm::Signed},
    {ValueType::UInt16, "sUInt16", 2, TextForm::Unsigned},
    {ValueType::SInt32, "sInt32", 4, TextForm::Signed},
    {ValueType::UInt32, "sUInt32", 4, TextForm::Unsigned},
    {ValueType::SInt64, "sInt64", 8, TextForm::Signed},
    {ValueType::UInt64, "sUInt64", 8, TextForm::Unsigned},
    {ValueType::Float32, "sFloat32", 4, TextForm::Float},
    {ValueType::Float64, "sFloat64", 8, TextForm::Float},
    {ValueType::String, "cDeltaString", 2, TextForm::String},
});

inline constexpr int kValueTypeCount = static_cast<int>(kValueTypes.size());

// Each row stands at its enumerator's index (the type is stored as that
// index), and the sizes are those a payload can have.
static_assert(
    [] {
      for (std::size_t i = 0; i < kValueTypes.size(); ++i) {
        const ValueTypeRow& row = kValueTypes[i];
        if (static_cast<std::size_t>(row.type) != i) return false;
        if (row.size != 1 && row.size != 2 && row.size != 4 && row.size != 8) return false;
        if (row.form == TextForm::Float && row.size != 4 && row.size != 8) return false;
      }
      return true;
    }(),
    "kValueTypes must list every ValueType in enumerator order with a payload size of 1, 2, 4 "
    "or 8 bytes");

constexpr const ValueTypeRow& valueType(ValueType type) {
  return kValueTypes[static_cast<std::size_t>(type)];
}
constexpr std::string_view typeName(ValueType type) { return valueType(type).name; }
constexpr int payloadSize(ValueType type) { return valueType(type).size; }
constexpr TextForm textForm(ValueType type) { return valueType(type).form; }
constexpr bool isFloat(ValueType type) { return textForm(type) == TextForm::Float; }
constexpr bool isString(ValueType type) { return textForm(type) == TextForm::String; }

std::optional<ValueType> typeFromName(std::string_view name);

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
