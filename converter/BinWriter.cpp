// Document -> binary. Strings go into the table the first time they are
// written; a record is spelled out only when its shape is not cached.

#include "converter/BinEncoder.h"
#include "converter/Codec.h"
#include "converter/Failure.h"
#include "converter/Utf8.h"

namespace serz {
namespace {

std::size_t mix(std::uint64_t key) {
  key *= 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(key ^ (key >> 32));
}

}  // namespace

BinEncoder::BinEncoder(const Document& doc, std::size_t reserveBytes)
    : doc_(doc), out_(reserveBytes + 64), binIndex_(doc.strings.size(), kUnwritten) {
  typeIndex_.fill(kUnwritten);
  out_.put(bin::kMagic);
  out_.putU32(bin::kVersion);
}

void BinEncoder::fail(std::string reason) const { detail::fail(position_, std::move(reason)); }

// The length counts characters, not bytes.
void BinEncoder::writeNewString(std::string_view s) {
  const std::int64_t chars = utf8::countChars(s);
  if (chars < 0) fail("a string is not valid UTF-8");
  if (chars > 0xFFFFFFFF) fail("a string is too long for the format");
  out_.putU16(bin::kNewString);
  out_.putU32(static_cast<std::uint32_t>(chars));
  out_.put(s);
}

// Writes a reference to `slot`'s table entry, adding the string first when
// it has not been written yet. Once the table is full, strings not in it are
// spelled out every time.
void BinEncoder::writeString(std::string_view s, std::uint32_t& slot) {
  if (slot != kUnwritten) {
    out_.putU16(static_cast<std::uint16_t>(slot));
    return;
  }
  writeNewString(s);
  if (tableSize_ < bin::kMaxTableSize) slot = tableSize_++;
}

void BinEncoder::writeString(std::uint32_t index) {
  if (index >= doc_.strings.size()) fail("a record refers to a string that does not exist");
  if (index >= binIndex_.size()) binIndex_.resize(doc_.strings.size(), kUnwritten);
  writeString(doc_.strings[index], binIndex_[index]);
}

void BinEncoder::writeType(ValueType type) {
  const std::uint32_t index = doc_.typeString[static_cast<int>(type)];
  if (index != kNoString)
    writeString(index);
  else
    writeString(typeName(type), typeIndex_[static_cast<int>(type)]);
}

void BinEncoder::writeShape(const Node& n) {
  const RecordKind& kind = n.recordKind();
  const std::uint64_t key = static_cast<std::uint64_t>(n.kind()) << 40 |
                            static_cast<std::uint64_t>(kind.hasType ? n.type() : ValueType::Bool)
                                << 32 |
                            (kind.hasName ? n.name() : 0);
  ShapeEntry& entry = shapeEntry(key);
  if (entry.key == key && slotKey_[entry.slot] == key && entry.slot < spelled_) {
    out_.put(static_cast<char>(entry.slot));
    return;
  }
  // The k-th spelled-out shape replaces whatever slot k mod 255 held.
  const auto slot = static_cast<std::uint8_t>(spelled_ % bin::kCacheSlots);
  slotKey_[slot] = key;
  entry = {key, slot};
  ++spelled_;

  out_.put(static_cast<char>(bin::kSpelledOut));
  out_.put(static_cast<char>(kind.command));
  if (kind.hasName) writeString(n.name());
  if (kind.hasType) writeType(n.type());
}

// The shape's entry, or the empty entry where it goes (linear probing).
BinEncoder::ShapeEntry& BinEncoder::shapeEntry(std::uint64_t key) {
  if ((shapeCount_ + 1) * 2 > shapes_.size()) {
    std::vector<ShapeEntry> old(shapes_.size() * 2);
    old.swap(shapes_);
    for (const ShapeEntry& e : old)
      if (e.key != kNoShape) {
        std::size_t i = mix(e.key) & (shapes_.size() - 1);
        while (shapes_[i].key != kNoShape) i = (i + 1) & (shapes_.size() - 1);
        shapes_[i] = e;
      }
  }
  const std::size_t mask = shapes_.size() - 1;
  std::size_t i = mix(key) & mask;
  while (shapes_[i].key != key && shapes_[i].key != kNoShape) i = (i + 1) & mask;
  if (shapes_[i].key == kNoShape) ++shapeCount_;
  return shapes_[i];
}

void BinEncoder::writeScalar(ValueType type, std::uint64_t v) {
  if (isString(type)) {
    if (v >= doc_.strings.size()) fail("a value refers to a string that does not exist");
    writeString(static_cast<std::uint32_t>(v));
  } else {
    out_.putLE(v, payloadSize(type));
  }
}

void BinEncoder::write(const Node& n, std::size_t position) {
  position_ = position;
  if (static_cast<int>(n.type()) >= kValueTypeCount) fail("a record has an unknown value type");
  writeShape(n);
  switch (n.kind()) {
    case NodeKind::Open:
      out_.putU32(n.id());
      countOffset_ = out_.size();
      out_.putU32(n.childCount());
      break;
    case NodeKind::Close:
    case NodeKind::Nil:
      break;
    case NodeKind::Value:
      writeScalar(n.type(), n.bits());
      break;
    case NodeKind::Array: {
      const std::size_t first = n.firstElement(), count = n.elementCount();
      if (count > 255) fail("an array holds more than 255 elements");
      if (first > doc_.elements.size() || count > doc_.elements.size() - first)
        fail("an array refers to elements that do not exist");
      out_.put(static_cast<char>(count));
      for (std::size_t i = 0; i < count; ++i) writeScalar(n.type(), doc_.elements[first + i]);
      break;
    }
    case NodeKind::Prefix:
      out_.put(static_cast<char>(n.prefixFlag()));
      out_.putU32(n.prefixValue());
      break;
    case NodeKind::Ref:
      out_.putU32(n.id());
      break;
    case NodeKind::Blob: {
      if (n.blobIndex() >= doc_.blobs.size()) fail("a blob refers to bytes that do not exist");
      const std::string_view data = doc_.blobs[n.blobIndex()];
      if (data.size() > 0xFFFFFFFF) fail("a blob is too large for the format");
      out_.putU32(static_cast<std::uint32_t>(data.size()));
      out_.put(data);
      break;
    }
  }
}

Result<std::string> encode(const Document& doc) {
  return detail::guarded<std::string>(
      [&] {
        std::size_t blobBytes = 0;
        for (std::string_view b : doc.blobs) blobBytes += b.size();
        BinEncoder encoder(doc, doc.nodes.size() * 8 + blobBytes);
        for (std::size_t i = 0; i < doc.nodes.size(); ++i) encoder.write(doc.nodes[i], i);
        return encoder.finish();
      },
      detail::recordError);
}

}  // namespace serz
