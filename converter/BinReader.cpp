// Binary -> Document. Every length and count is checked against the bytes
// actually present before it is used, and nothing is sized by a claimed number.

#include "converter/BinDecoder.h"
#include "converter/Codec.h"
#include "converter/Failure.h"
#include "converter/Names.h"
#include "converter/Quote.h"
#include "converter/TextFormat.h"
#include "converter/Utf8.h"
#include "platform/core/LargeBuffer.h"

#include <string>

namespace serz {
namespace {

std::string hexByte(unsigned v) {
  return std::string("0x") + text::kHexDigits[(v >> 4) & 15] + text::kHexDigits[v & 15];
}

}  // namespace

BinDecoder::BinDecoder(std::string_view in, Document& doc) : in_(in), doc_(doc) { readHeader(); }

void BinDecoder::fail(std::size_t offset, std::string reason) const {
  detail::fail(offset, std::move(reason));
}

void BinDecoder::need(std::size_t n) const {
  if (in_.size() - pos_ < n)
    fail(pos_, "truncated record: needs " + std::to_string(n) + " more bytes, " +
                   std::to_string(in_.size() - pos_) + " left");
}

std::uint64_t BinDecoder::readLE(int bytes) {
  need(static_cast<std::size_t>(bytes));
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in_[pos_ + i])) << (8 * i);
  pos_ += static_cast<std::size_t>(bytes);
  return v;
}

void BinDecoder::readHeader() {
  if (in_.size() < bin::kHeaderSize || in_.substr(0, 4) != bin::kMagic)
    fail(0, "not a serialised .bin file (no \"SERZ\" signature)");
  pos_ = 4;
  const std::uint32_t version = u32();
  if (version != bin::kVersion) fail(4, "unsupported format version " + std::to_string(version));
}

// A string reference: an index into the table, or a new string whose length
// counts characters (UTF-8 sequences), not bytes.
std::uint32_t BinDecoder::readString() {
  const std::size_t at = pos_;
  const std::uint16_t index = u16();
  if (index != bin::kNewString) {
    if (index >= table_.size())
      fail(at, "string index " + std::to_string(index) + " is not yet defined (the table holds " +
                   std::to_string(table_.size()) + ")");
    return table_[index];
  }
  const std::uint32_t chars = u32();
  if (chars > in_.size() - pos_)
    fail(at, "string length " + std::to_string(chars) + " runs past the end of the file");
  const auto scan = utf8::bytesForChars(in_.substr(pos_), chars);
  if (scan.status == utf8::Scan::Truncated)
    fail(at, "string length " + std::to_string(chars) + " runs past the end of the file");
  if (scan.status == utf8::Scan::Invalid) fail(pos_ + scan.bytes, "string is not valid UTF-8");
  const std::string_view s = in_.substr(pos_, scan.bytes);
  pos_ += scan.bytes;
  const auto index32 = static_cast<std::uint32_t>(doc_.strings.size());
  doc_.strings.push_back(s);
  // Once the table is full, later new strings are spelled out every time.
  if (table_.size() < bin::kMaxTableSize) table_.push_back(index32);
  return index32;
}

std::uint32_t BinDecoder::readName() {
  const std::size_t at = pos_;
  const std::uint32_t name = readString();
  if (name >= nameChecked_.size()) nameChecked_.resize(doc_.strings.size(), false);
  if (!nameChecked_[name]) {
    // Strings may hold a NUL (the XML carries it as it is); names may not.
    const std::size_t nul = doc_.str(name).find('\0');
    if (nul != std::string_view::npos) {
      // A name spelled out here ends at pos_; one from the table is at `at`.
      const bool spelled = in_.substr(at, 2) == "\xFF\xFF";
      fail(spelled ? pos_ - doc_.str(name).size() + nul : at,
           "a name contains a NUL character, which XML cannot hold");
    }
    std::string why = names::whyNotXmlName(doc_.str(name));
    if (!why.empty()) fail(at, why);
    nameChecked_[name] = true;
  }
  return name;
}

ValueType BinDecoder::readType() {
  const std::size_t at = pos_;
  const std::uint32_t s = readString();
  const auto type = typeFromName(doc_.str(s));
  if (!type) fail(at, "unknown type name " + quoted(doc_.str(s)));
  auto& known = doc_.typeString[static_cast<int>(*type)];
  if (known == kNoString) known = s;
  return *type;
}

BinDecoder::Shape BinDecoder::readShape(std::size_t start) {
  const std::uint8_t command = u8();
  const RecordKind* kind = recordKindForCommand(command);
  if (!kind) fail(start + 1, "unknown record type " + hexByte(command));
  Shape shape;
  shape.kind = kind->kind;
  if (kind->hasName) shape.name = readName();
  if (kind->hasType) shape.type = readType();
  // Slots form a ring: the k-th spelled-out record takes slot k mod 255.
  cache_[spelled_ % bin::kCacheSlots] = shape;
  ++spelled_;
  return shape;
}

std::uint64_t BinDecoder::readScalar(ValueType type) {
  if (isString(type)) return readString();
  return readLE(payloadSize(type));
}

// Where a record may stand: elements nest, everything but the root's open
// record lies inside an element, and nothing follows the root's close.
void BinDecoder::enter(std::size_t start, const Shape& shape) {
  const std::string_view noun = recordKind(shape.kind).noun;
  if (open_.empty()) {
    if (rootSeen_) fail(start, "a " + std::string(noun) + " record after the root element closed");
    if (shape.kind == NodeKind::Prefix) return;
    if (shape.kind != NodeKind::Open)
      fail(start, "a " + std::string(noun) + " record outside any element");
    rootSeen_ = true;
  }
  if (shape.kind == NodeKind::Open) {
    if (open_.size() >= static_cast<std::size_t>(kMaxDepth))
      fail(start, "elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
    open_.push_back(shape.name);
  } else if (shape.kind == NodeKind::Close) {
    if (doc_.str(open_.back()) != doc_.str(shape.name))
      fail(start, "close record " + quoted(doc_.str(shape.name)) +
                      " does not match the open element " + quoted(doc_.str(open_.back())));
    open_.pop_back();
  }
}

bool BinDecoder::next(Node& node) {
  if (pos_ == in_.size()) {
    if (!open_.empty())
      fail(in_.size(), "the file ends inside element " + quoted(doc_.str(open_.back())));
    if (!rootSeen_) fail(in_.size(), "the file holds no root element");
    return false;
  }
  const std::size_t start = pos_;
  const std::uint8_t lead = u8();
  Shape shape;
  if (lead == bin::kSpelledOut) {
    shape = readShape(start);
  } else {
    if (lead >= spelled_) fail(start, "cache slot " + std::to_string(lead) + " is not yet defined");
    shape = cache_[lead];
  }
  enter(start, shape);
  switch (shape.kind) {
    case NodeKind::Open: {
      const std::uint32_t id = u32();
      node = Node::open(shape.name, id, u32());
      break;
    }
    case NodeKind::Close:
      node = Node::close(shape.name);
      break;
    case NodeKind::Value:
      node = Node::value(shape.name, shape.type, readScalar(shape.type));
      break;
    case NodeKind::Array: {
      const std::uint8_t n = u8();
      node = Node::array(shape.name, shape.type, n, doc_.elements.size());
      for (unsigned i = 0; i < n; ++i) {
        const std::size_t at = pos_;
        const std::uint64_t v = readScalar(shape.type);
        if (isString(shape.type)) checkListItem(at, doc_.str(static_cast<std::uint32_t>(v)));
        doc_.elements.push_back(v);
      }
      break;
    }
    case NodeKind::Nil:
      node = Node::nil();
      break;
    case NodeKind::Prefix: {
      const std::uint8_t flag = u8();
      node = Node::prefix(flag, u32());
      break;
    }
    case NodeKind::Ref:
      node = Node::ref(shape.name, u32());
      break;
    case NodeKind::Blob: {
      const std::size_t at = pos_;
      const std::uint32_t size = u32();
      if (size > in_.size() - pos_)
        fail(at, "blob size " + std::to_string(size) + " runs past the end of the file");
      doc_.blobs.push_back(in_.substr(pos_, size));
      pos_ += size;
      node = Node::blob(static_cast<std::uint32_t>(doc_.blobs.size() - 1));
      break;
    }
  }
  return true;
}

// String array items are written space-separated, so an item that is empty
// or holds white space could not be read back as it was.
void BinDecoder::checkListItem(std::size_t at, std::string_view s) const {
  if (text::fitsListText(s)) return;
  if (s.empty()) fail(at, "an empty string in a string array cannot be written as XML list text");
  fail(at, "the string " + quoted(s) +
               " in a string array holds white space, which XML list text cannot keep");
}

Result<Document> decode(std::string_view bin) {
  return detail::guarded<Document>(
      [&] {
        Document doc;
        BinDecoder decoder(bin, doc);
        // Records take 5 to 10 bytes on average; reserving does not touch memory.
        doc.nodes.reserve(bin.size() / 5 + 16);
        vantrel::platform::adviseLargeBuffer(doc.nodes.data(), doc.nodes.capacity() * sizeof(Node));
        Node node;
        while (decoder.next(node)) doc.nodes.push_back(node);
        return doc;
      },
      detail::byteError);
}

}  // namespace serz
