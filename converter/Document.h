#pragma once
// The decoded form of a serialised file: the records of the tree in
// depth-first order, with every string kept once in a table.
//
// Strings and blobs are views. A Document made by decode() points into the
// binary it was decoded from, which must outlive it; one made by readXml()
// owns its text.

#include "converter/Records.h"
#include "converter/ValueType.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace serz {

// One record. Each kind has its own fields; ask only for the fields of the
// node's kind (the others read as zero).
class Node {
 public:
  Node() = default;

  static Node open(std::uint32_t name, std::uint32_t id, std::uint32_t childCount) {
    Node n(NodeKind::Open, name);
    n.word_ = id;
    n.count_ = childCount;
    return n;
  }
  static Node close(std::uint32_t name) { return Node(NodeKind::Close, name); }
  // `bits`: the payload's little-endian bits, or for cDeltaString the string's index.
  static Node value(std::uint32_t name, ValueType type, std::uint64_t bits) {
    Node n(NodeKind::Value, name, type);
    n.payload_ = bits;
    return n;
  }
  // Elements firstElement.. in Document::elements.
  static Node array(std::uint32_t name, ValueType type, std::uint32_t count,
                    std::size_t firstElement) {
    Node n(NodeKind::Array, name, type);
    n.word_ = count;
    n.payload_ = firstElement;
    return n;
  }
  static Node nil() { return Node(NodeKind::Nil, 0); }
  static Node prefix(std::uint8_t flag, std::uint32_t value) {
    Node n(NodeKind::Prefix, 0);
    n.flag_ = flag;
    n.word_ = value;
    return n;
  }
  static Node ref(std::uint32_t name, std::uint32_t id) {
    Node n(NodeKind::Ref, name);
    n.word_ = id;
    return n;
  }
  // The bytes are Document::blobs[index].
  static Node blob(std::uint32_t index) {
    Node n(NodeKind::Blob, 0);
    n.word_ = index;
    return n;
  }

  NodeKind kind() const { return kind_; }
  const RecordKind& recordKind() const { return serz::recordKind(kind_); }

  std::uint32_t name() const { return name_; }  // Open, Close, Value, Array, Ref: string index
  ValueType type() const { return type_; }      // Value: its type; Array: element type
  std::uint32_t id() const { return word_; }    // Open: object id; Ref: the id referred to
  std::uint32_t childCount() const { return count_; }  // Open, as the record states it
  void setChildCount(std::uint32_t count) { count_ = count; }
  std::uint64_t bits() const { return payload_; }                                  // Value
  std::uint32_t elementCount() const { return word_; }                             // Array
  std::size_t firstElement() const { return static_cast<std::size_t>(payload_); }  // Array
  std::uint32_t blobIndex() const { return word_; }                                // Blob
  std::uint8_t prefixFlag() const { return flag_; }    // Prefix: the byte
  std::uint32_t prefixValue() const { return word_; }  // Prefix: the 32-bit value

 private:
  Node(NodeKind kind, std::uint32_t name, ValueType type = ValueType::Bool)
      : kind_(kind), type_(type), name_(name) {}

  NodeKind kind_ = NodeKind::Open;
  ValueType type_ = ValueType::Bool;
  std::uint8_t flag_ = 0;
  std::uint32_t name_ = 0;
  std::uint32_t word_ = 0;
  std::uint32_t count_ = 0;
  std::uint64_t payload_ = 0;
};

inline constexpr std::uint32_t kNoString = 0xFFFFFFFFu;

struct Document {
  std::vector<std::string_view> strings;
  // Index in `strings` of each type's name, so the name shares its table
  // entry with an equal string value; kNoString when not present.
  std::array<std::uint32_t, kValueTypeCount> typeString = filledNoString();
  std::vector<Node> nodes;
  std::vector<std::uint64_t> elements;  // array elements: bits, or string index
  std::vector<std::string_view> blobs;

  // Text and bytes the document owns (names rewritten from XML, blob bytes
  // decoded from hex, the XML buffer).
  std::deque<std::string> ownedText;
  std::deque<std::string> ownedBlobs;
  std::unique_ptr<char[]> ownedBuffer;

  std::string_view str(std::uint32_t index) const { return strings[index]; }

  std::uint32_t addOwnedBlob(std::string bytes) {
    blobs.push_back(ownedBlobs.emplace_back(std::move(bytes)));
    return static_cast<std::uint32_t>(blobs.size() - 1);
  }

 private:
  static std::array<std::uint32_t, kValueTypeCount> filledNoString() {
    std::array<std::uint32_t, kValueTypeCount> a{};
    a.fill(kNoString);
    return a;
  }
};

}  // namespace serz
