// Document -> binary. Strings go into the table the first time they are
// written; a record is spelled out only when its shape is not cached.

#include "converter/BinEncoder.h"
#include "converter/Codec.h"
#include "converter/Utf8.h"

#include <new>
#include <stdexcept>

namespace serz {
namespace {

std::uint8_t command(NodeKind kind) {
    switch (kind) {
    case NodeKind::Open: return bin::kOpen;
    case NodeKind::Close: return bin::kClose;
    case NodeKind::Value: return bin::kValue;
    case NodeKind::Array: return bin::kArray;
    case NodeKind::Nil: return bin::kNil;
    case NodeKind::Prefix: return bin::kPrefix;
    case NodeKind::Ref: return bin::kRef;
    case NodeKind::Blob: return bin::kBlob;
    }
    return 0;
}

bool hasName(NodeKind k) {
    return k == NodeKind::Open || k == NodeKind::Close || k == NodeKind::Value || k == NodeKind::Array ||
           k == NodeKind::Ref;
}
bool hasType(NodeKind k) { return k == NodeKind::Value || k == NodeKind::Array; }

}  // namespace

BinEncoder::BinEncoder(const Document& doc, std::size_t reserveBytes)
    : doc_(doc), out_(reserveBytes + 64), binIndex_(doc.strings.size(), kUnwritten) {
    typeIndex_.fill(kUnwritten);
    cacheIndex_.reserve(1024);
    out_.put(bin::kMagic);
    out_.putU32(bin::kVersion);
}

void BinEncoder::fail(std::string reason) { throw EncodeFailure{count_, std::move(reason)}; }

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
    const std::uint64_t key = static_cast<std::uint64_t>(n.kind) << 40 |
                              static_cast<std::uint64_t>(hasType(n.kind) ? n.type : ValueType::Bool) << 32 |
                              (hasName(n.kind) ? n.name : 0);
    const auto hit = cacheIndex_.find(key);
    if (hit != cacheIndex_.end()) {
        out_.put(static_cast<char>(hit->second));
        return;
    }
    // The k-th spelled-out shape replaces whatever slot k mod 255 held.
    const auto slot = static_cast<std::uint8_t>(spelled_ % bin::kCacheSlots);
    if (spelled_ >= static_cast<std::uint32_t>(bin::kCacheSlots)) cacheIndex_.erase(slotKey_[slot]);
    slotKey_[slot] = key;
    cacheIndex_.emplace(key, slot);
    ++spelled_;

    out_.put(static_cast<char>(bin::kSpelledOut));
    out_.put(static_cast<char>(command(n.kind)));
    if (hasName(n.kind)) writeString(n.name);
    if (hasType(n.kind)) writeType(n.type);
}

void BinEncoder::writeScalar(ValueType type, std::uint64_t v) {
    if (type == ValueType::String) {
        if (v >= doc_.strings.size()) fail("a value refers to a string that does not exist");
        writeString(static_cast<std::uint32_t>(v));
    } else {
        out_.putLE(v, payloadSize(type));
    }
}

void BinEncoder::write(const Node& n) {
    if (static_cast<int>(n.type) >= kValueTypeCount) fail("a record has an unknown value type");
    writeShape(n);
    switch (n.kind) {
    case NodeKind::Open:
        out_.putU32(n.a);
        countOffset_ = out_.size();
        out_.putU32(n.b);
        break;
    case NodeKind::Close:
    case NodeKind::Nil: break;
    case NodeKind::Value: writeScalar(n.type, n.value); break;
    case NodeKind::Array:
        if (n.a > 255) fail("an array holds more than 255 elements");
        if (n.value > doc_.elements.size() || n.a > doc_.elements.size() - n.value)
            fail("an array refers to elements that do not exist");
        out_.put(static_cast<char>(n.a));
        for (std::uint32_t i = 0; i < n.a; ++i) writeScalar(n.type, doc_.elements[n.value + i]);
        break;
    case NodeKind::Prefix:
        out_.put(static_cast<char>(n.b));
        out_.putU32(n.a);
        break;
    case NodeKind::Ref: out_.putU32(n.a); break;
    case NodeKind::Blob:
        if (n.value > doc_.blobBytes.size() || n.a > doc_.blobBytes.size() - n.value)
            fail("a blob refers to bytes that do not exist");
        out_.putU32(n.a);
        out_.put(std::string_view(doc_.blobBytes).substr(n.value, n.a));
        break;
    }
    ++count_;
}

Result<std::string> encode(const Document& doc) {
    try {
        BinEncoder encoder(doc, doc.nodes.size() * 8 + doc.blobBytes.size());
        for (const Node& n : doc.nodes) encoder.write(n);
        return encoder.finish();
    } catch (const EncodeFailure& f) {
        return Error{f.node, 0, 0, "record " + std::to_string(f.node) + ": " + f.reason};
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::length_error&) {
        return outOfMemory();
    }
}

}  // namespace serz
