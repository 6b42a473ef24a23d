#pragma once
// Writes records to the binary form one at a time, so a caller can stream
// records into it without keeping them all.
//
// Throws detail::Failure at the position the caller gives with each record.

#include "converter/BinFormat.h"
#include "converter/Document.h"
#include "converter/OutBuf.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace serz {

class BinEncoder {
 public:
  // `doc` supplies the strings, array elements and blobs the nodes refer
  // to; it may grow between calls to write().
  BinEncoder(const Document& doc, std::size_t reserveBytes);

  void write(const Node& n, std::size_t position);
  std::string finish() { return out_.take(); }

  // Where the child count of the last open record was written, so that a
  // caller that learns the count later can fill it in.
  std::size_t lastCountOffset() const { return countOffset_; }
  void patchU32(std::size_t offset, std::uint32_t v) { out_.patchU32(offset, v); }
  // True once the binary's string table holds all it can: strings not in it
  // are written out in full wherever they occur.
  bool tableFull() const { return tableSize_ >= bin::kMaxTableSize; }

 private:
  [[noreturn]] void fail(std::string reason) const;
  void writeNewString(std::string_view s);
  void writeString(std::string_view s, std::uint32_t& slot);
  void writeString(std::uint32_t index);
  void writeType(ValueType type);
  void writeShape(const Node& n);
  void writeScalar(ValueType type, std::uint64_t v);

  static constexpr std::uint32_t kUnwritten = 0xFFFFFFFFu;

  const Document& doc_;
  OutBuf out_;
  std::vector<std::uint32_t> binIndex_;  // document string index -> table index
  std::array<std::uint32_t, kValueTypeCount> typeIndex_{};
  std::uint32_t tableSize_ = 0;
  // Shape -> the slot it was last stored in. Entries are never removed: an
  // entry whose slot now holds another shape is stale, and counts as absent.
  struct ShapeEntry {
    std::uint64_t key = kNoShape;
    std::uint8_t slot = 0;
  };
  static constexpr std::uint64_t kNoShape = ~std::uint64_t{0};
  ShapeEntry& shapeEntry(std::uint64_t key);
  std::vector<ShapeEntry> shapes_ = std::vector<ShapeEntry>(1024);
  std::size_t shapeCount_ = 0;
  std::array<std::uint64_t, bin::kCacheSlots> slotKey_{};
  std::uint32_t spelled_ = 0;
  std::size_t position_ = 0;
  std::size_t countOffset_ = 0;
};

}  // namespace serz
