#pragma once
// The kinds of record in a serialised file, in one table that the binary
// reader and writer share: its command byte, whether its shape holds a name
// and a type, and its name in messages. A new kind of record is an
// enumerator and its row here; its payload and XML form are code of their
// own (see the README's "a new record kind"), and the compiler names each
// switch over NodeKind that lacks it.

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

inline constexpr auto kRecordKinds = std::to_array<RecordKind>({
    {NodeKind::Open, 'P', true, false, "open"},
    {NodeKind::Close, 'p', true, false, "close"},
    {NodeKind::Value, 'V', true, true, "value"},
    {NodeKind::Array, 'A', true, true, "array"},
    {NodeKind::Nil, 'N', false, false, "nil"},
    {NodeKind::Prefix, 'C', false, false, "prefix"},
    {NodeKind::Ref, 'R', true, false, "reference"},
    {NodeKind::Blob, 'B', false, false, "blob"},
});

// recordKind() finds a row by its enumerator's index, and a command byte
// names one kind only.
static_assert(
    [] {
      for (std::size_t i = 0; i < kRecordKinds.size(); ++i) {
        if (static_cast<std::size_t>(kRecordKinds[i].kind) != i) return false;
        for (std::size_t j = 0; j < i; ++j)
          if (kRecordKinds[j].command == kRecordKinds[i].command) return false;
      }
      return true;
    }(),
    "kRecordKinds must list every NodeKind in enumerator order, each with a command byte of its "
    "own");

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
