#pragma once
// Reads the records of a binary file one at a time, so a caller can write
// each one out before the next is read. The tree is followed by its open
// and close records; the child counts the file states are kept but not
// relied on (game files leave blobs out of them, and a save's root states 0).
//
// Throws detail::Failure with the byte offset of the fault.

#include "converter/BinFormat.h"
#include "converter/Document.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace serz {

class BinDecoder {
 public:
  // Strings, array elements and blobs go into `doc` (as views into `in`);
  // the caller may clear doc.elements and doc.blobs between records.
  BinDecoder(std::string_view in, Document& doc);

  // The next record, or false at the end of a complete file.
  bool next(Node& node);
  // Byte offset of the next record.
  std::size_t position() const { return pos_; }

 private:
  struct Shape {
    NodeKind kind = NodeKind::Open;
    ValueType type = ValueType::Bool;
    std::uint32_t name = 0;
  };

  [[noreturn]] void fail(std::size_t offset, std::string reason) const;
  void need(std::size_t n) const;
  std::uint64_t readLE(int bytes);
  std::uint8_t u8() { return static_cast<std::uint8_t>(readLE(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(readLE(2)); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(readLE(4)); }

  void readHeader();
  std::uint32_t readString();
  std::uint32_t readName();
  ValueType readType();
  Shape readShape(std::size_t start);
  std::uint64_t readScalar(ValueType type);
  void enter(std::size_t start, const Shape& shape);
  void checkListItem(std::size_t at, std::string_view s) const;

  std::string_view in_;
  std::size_t pos_ = 0;
  Document& doc_;
  std::vector<std::uint32_t> table_;  // binary string index -> document string index
  std::vector<bool> nameChecked_;
  std::array<Shape, bin::kCacheSlots> cache_{};
  std::uint32_t spelled_ = 0;
  std::vector<std::uint32_t> open_;  // names of the elements not yet closed
  bool rootSeen_ = false;
};

}  // namespace serz
