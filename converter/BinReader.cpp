// Binary -> Document. Every length and count is checked against the bytes
// actually present before it is used, and nothing is sized by a claimed number.

#include "converter/BinFormat.h"
#include "converter/Codec.h"
#include "platform/core/LargeBuffer.h"
#include "converter/Names.h"
#include "converter/Quote.h"
#include "converter/Utf8.h"

#include <array>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace serz {
namespace {

struct Failure {
    std::size_t offset;
    std::string reason;
};

struct Shape {
    NodeKind kind = NodeKind::Open;
    ValueType type = ValueType::Bool;
    std::uint32_t name = 0;
};

struct OpenElement {
    std::uint32_t name;
    std::uint32_t expected;  // child count claimed by the open record
    std::uint32_t seen = 0;
};

std::string hexByte(unsigned v) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[(v >> 4) & 15] + kDigits[v & 15];
}

class Decoder {
public:
    explicit Decoder(std::string_view in) : in_(in) {}

    Document run() {
        readHeader();
        // Records take 5 to 10 bytes on average; reserving does not touch memory.
        doc_.nodes.reserve(in_.size() / 5 + 16);
        vantrel::platform::adviseLargeBuffer(doc_.nodes.data(), doc_.nodes.capacity() * sizeof(Node));
        while (pos_ < in_.size()) readRecord();
        if (!stack_.empty())
            fail(in_.size(), "the file ends inside element " + quoted(doc_.str(stack_.back().name)));
        if (!rootSeen_) fail(in_.size(), "the file holds no root element");
        return std::move(doc_);
    }

private:
    [[noreturn]] void fail(std::size_t offset, std::string reason) { throw Failure{offset, std::move(reason)}; }

    void need(std::size_t n) {
        if (in_.size() - pos_ < n)
            fail(pos_, "truncated record: needs " + std::to_string(n) + " more bytes, " +
                           std::to_string(in_.size() - pos_) + " left");
    }
    std::uint64_t readLE(int bytes) {
        need(static_cast<std::size_t>(bytes));
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in_[pos_ + i])) << (8 * i);
        pos_ += static_cast<std::size_t>(bytes);
        return v;
    }
    std::uint8_t u8() { return static_cast<std::uint8_t>(readLE(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(readLE(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(readLE(4)); }

    void readHeader() {
        if (in_.size() < bin::kHeaderSize || in_.substr(0, 4) != bin::kMagic)
            fail(0, "not a serialised .bin file (no \"SERZ\" signature)");
        pos_ = 4;
        const std::uint32_t version = u32();
        if (version != bin::kVersion) fail(4, "unsupported format version " + std::to_string(version));
    }

    // A string reference: an index into the table, or a new string.
    std::uint32_t readString() {
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
        if (s.find('\0') != std::string_view::npos)
            fail(pos_ + s.find('\0'), "string contains a NUL character, which XML cannot hold");
        pos_ += scan.bytes;
        const auto index32 = static_cast<std::uint32_t>(doc_.strings.size());
        doc_.strings.push_back(s);
        // Once the table is full, later new strings are spelled out every time.
        if (table_.size() < bin::kMaxTableSize) table_.push_back(index32);
        return index32;
    }

    std::uint32_t readName() {
        const std::size_t at = pos_;
        const std::uint32_t name = readString();
        if (name >= nameChecked_.size()) nameChecked_.resize(doc_.strings.size(), false);
        if (!nameChecked_[name]) {
            std::string why = names::whyNotWritable(doc_.str(name));
            if (!why.empty()) fail(at, why);
            nameChecked_[name] = true;
        }
        return name;
    }

    ValueType readType() {
        const std::size_t at = pos_;
        const std::uint32_t s = readString();
        const auto type = typeFromName(doc_.str(s));
        if (!type) fail(at, "unknown type name " + quoted(doc_.str(s)));
        auto& known = doc_.typeString[static_cast<int>(*type)];
        if (known == kNoString) known = s;
        return *type;
    }

    Shape readShape(std::size_t start) {
        const std::uint8_t cmd = u8();
        Shape shape;
        switch (cmd) {
        case bin::kOpen: shape = {NodeKind::Open, ValueType::Bool, readName()}; break;
        case bin::kClose: shape = {NodeKind::Close, ValueType::Bool, readName()}; break;
        case bin::kValue: {
            const std::uint32_t name = readName();
            shape = {NodeKind::Value, readType(), name};
            break;
        }
        case bin::kArray: {
            const std::uint32_t name = readName();
            shape = {NodeKind::Array, readType(), name};
            break;
        }
        case bin::kNil: shape = {NodeKind::Nil, ValueType::Bool, 0}; break;
        case bin::kPrefix: shape = {NodeKind::Prefix, ValueType::Bool, 0}; break;
        case bin::kRef: shape = {NodeKind::Ref, ValueType::Bool, readName()}; break;
        case bin::kBlob: shape = {NodeKind::Blob, ValueType::Bool, 0}; break;
        default: fail(start + 1, "unknown record type " + hexByte(cmd));
        }
        // Slots form a ring: the k-th spelled-out record takes slot k mod 255.
        cache_[spelled_ % bin::kCacheSlots] = shape;
        ++spelled_;
        return shape;
    }

    std::uint64_t readScalar(ValueType type) {
        if (type == ValueType::String) return readString();
        return readLE(payloadSize(type));
    }

    void addChild(std::size_t start, const char* what) {
        if (stack_.empty()) fail(start, std::string("a ") + what + " record outside any element");
        OpenElement& parent = stack_.back();
        if (parent.seen == parent.expected)
            fail(start, "element " + quoted(doc_.str(parent.name)) + " has more children than its count of " +
                            std::to_string(parent.expected));
        ++parent.seen;
    }

    void readRecord() {
        const std::size_t start = pos_;
        const std::uint8_t lead = u8();
        Shape shape;
        if (lead == bin::kSpelledOut) {
            shape = readShape(start);
        } else {
            if (lead >= spelled_) fail(start, "cache slot " + std::to_string(lead) + " is not yet defined");
            shape = cache_[lead];
        }
        Node node;
        node.kind = shape.kind;
        node.type = shape.type;
        node.name = shape.name;
        switch (shape.kind) {
        case NodeKind::Open:
            node.a = u32();
            node.b = u32();
            if (stack_.empty()) {
                if (rootSeen_) fail(start, "a second root element after the first one closed");
                rootSeen_ = true;
            } else {
                addChild(start, "element");
            }
            if (stack_.size() >= static_cast<std::size_t>(kMaxDepth))
                fail(start, "elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
            stack_.push_back({node.name, node.b});
            break;
        case NodeKind::Close: {
            if (stack_.empty()) fail(start, "a close record outside any element");
            const OpenElement& open = stack_.back();
            if (doc_.str(open.name) != doc_.str(node.name))
                fail(start, "close record " + quoted(doc_.str(node.name)) + " does not match the open element " +
                                quoted(doc_.str(open.name)));
            if (open.seen != open.expected)
                fail(start, "element " + quoted(doc_.str(open.name)) + " has " + std::to_string(open.seen) +
                                " children but its count says " + std::to_string(open.expected));
            stack_.pop_back();
            break;
        }
        case NodeKind::Value:
            addChild(start, "value");
            node.value = readScalar(node.type);
            break;
        case NodeKind::Array: {
            addChild(start, "array");
            const std::uint8_t n = u8();
            node.a = n;
            node.value = doc_.elements.size();
            for (unsigned i = 0; i < n; ++i) {
                const std::size_t at = pos_;
                const std::uint64_t v = readScalar(node.type);
                if (node.type == ValueType::String) checkListItem(at, doc_.str(static_cast<std::uint32_t>(v)));
                doc_.elements.push_back(v);
            }
            break;
        }
        case NodeKind::Nil: addChild(start, "nil"); break;
        case NodeKind::Prefix:
            if (!stack_.empty() || rootSeen_) fail(start, "a prefix record after the root element began");
            node.b = u8();
            node.a = u32();
            break;
        case NodeKind::Ref:
            addChild(start, "reference");
            node.a = u32();
            break;
        case NodeKind::Blob: {
            addChild(start, "blob");
            const std::size_t at = pos_;
            node.a = u32();
            if (node.a > in_.size() - pos_)
                fail(at, "blob size " + std::to_string(node.a) + " runs past the end of the file");
            node.value = doc_.blobBytes.size();
            doc_.blobBytes.append(in_.substr(pos_, node.a));
            pos_ += node.a;
            break;
        }
        }
        doc_.nodes.push_back(node);
    }

    // String array items are written space-separated, so an item that is
    // empty or holds white space could not be read back as it was.
    void checkListItem(std::size_t at, std::string_view s) {
        if (s.empty()) fail(at, "an empty string in a string array cannot be written as XML list text");
        if (s.find_first_of(" \t\r\n") != std::string_view::npos)
            fail(at, "the string " + quoted(s) + " in a string array holds white space, which XML list text cannot keep");
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    Document doc_;
    std::vector<std::uint32_t> table_;  // binary string index -> document string index
    std::vector<bool> nameChecked_;
    std::array<Shape, bin::kCacheSlots> cache_{};
    std::uint32_t spelled_ = 0;
    std::vector<OpenElement> stack_;
    bool rootSeen_ = false;
};

}  // namespace

Result<Document> decode(std::string_view bin) {
    try {
        return Decoder(bin).run();
    } catch (const Failure& f) {
        return Error{f.offset, 0, 0, f.reason};
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::length_error&) {
        return outOfMemory();
    }
}

}  // namespace serz
