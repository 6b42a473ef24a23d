#pragma once
// The decoded form of a serialised file: the records of the tree in
// depth-first order, with every string kept once in a table.
//
// Strings are views. A Document made by decode() points into the binary it
// was decoded from, which must outlive it; one made by readXml() owns its
// text.

#include "converter/ValueType.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace serz {

enum class NodeKind : std::uint8_t {
    Open,    // P: element with children
    Close,   // p: end of the element
    Value,   // V: one scalar
    Array,   // A: up to 255 scalars of one type
    Nil,     // N: null child
    Prefix,  // C: leading record without an XML form
    Ref,     // R: reference to another object's id
    Blob,    // B: raw bytes
};

struct Node {
    NodeKind kind = NodeKind::Open;
    ValueType type = ValueType::Bool;  // Value: its type; Array: element type
    std::uint32_t name = 0;            // string index (Open, Close, Value, Array, Ref)
    std::uint32_t a = 0;               // Open/Ref: id; Array: count; Blob: size; Prefix: u32
    std::uint32_t b = 0;               // Open: child count; Prefix: the flag byte
    std::uint64_t value = 0;           // Value: scalar bits or string index;
                                       // Array: first element in `elements`;
                                       // Blob: first byte in `blobBytes`
};

inline constexpr std::uint32_t kNoString = 0xFFFFFFFFu;

struct Document {
    std::vector<std::string_view> strings;
    // Index in `strings` of each type's name, so the name shares its table
    // entry with an equal string value; kNoString when not present.
    std::array<std::uint32_t, kValueTypeCount> typeString = filledNoString();
    std::vector<Node> nodes;
    std::vector<std::uint64_t> elements;  // array elements, bits or string index
    std::string blobBytes;

    // Text the document owns (names rewritten from XML, the XML buffer).
    std::deque<std::string> ownedText;
    std::unique_ptr<char[]> ownedBuffer;

    std::string_view str(std::uint32_t index) const { return strings[index]; }

private:
    static std::array<std::uint32_t, kValueTypeCount> filledNoString() {
        std::array<std::uint32_t, kValueTypeCount> a{};
        a.fill(kNoString);
        return a;
    }
};

}  // namespace serz
