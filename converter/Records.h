#pragma once
// The kinds of record in a serialised file, in one table that the binary
// reader and writer share: a new kind of record costs one row here (and its
// payload where the reader and writers handle payloads).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace serz {

enum class NodeKind : std::uint8_t {
  Open,    // P: element with children
  Close,   // p: end of the element
  Value,   // V: one scalar
  Array,   // A: up to 255 scalars of one type
  Nil,     // N: null child
  Prefix,  // C: record without an XML form
  Ref,     // R: reference to another object's id
  Blob,    // B: raw bytes
};

struct RecordKind {
  NodeKind kind;
  std::uint8_t command;   // the byte after the FF lead byte of a spelled-out record
  bool hasName;           // the shape holds a name string
  bool hasType;           // the shape holds a type name string
  std::string_view noun;  // names the record in messages
};

inline constexpr std::array<RecordKind, 8> kRecordKinds = {{
    {NodeKind::Open, 'P', true, false, "open"},
    {NodeKind::Close, 'p', true, false, "close"},
    {NodeKind::Value, 'V', true, true, "value"},
    {NodeKind::Array, 'A', true, true, "array"},
    {NodeKind::Nil, 'N', false, false, "nil"},
    {NodeKind::Prefix, 'C', false, false, "prefix"},
    {NodeKind::Ref, 'R', true, false, "reference"},
    {NodeKind::Blob, 'B', false, false, "blob"},
}};

constexpr const RecordKind& recordKind(NodeKind kind) {
  return kRecordKinds[static_cast<std::size_t>(kind)];
}

// The row for a command byte, or null when no record kind uses it.
constexpr const RecordKind* recordKindForCommand(std::uint8_t command) {
  for (const RecordKind& k : kRecordKinds)
    if (k.command == command) return &k;
  return nullptr;
}

}  // namespace serz
