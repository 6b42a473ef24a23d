// XML text -> Document. pugixml parses the text in place; the walk over the
// elements is iterative, so deep nesting cannot overflow the stack.

#include "converter/BinEncoder.h"
#include "converter/Codec.h"
#include "platform/core/LargeBuffer.h"
#include "converter/Names.h"
#include "converter/PugiMemory.h"
#include "converter/Quote.h"
#include "converter/StringIndex.h"
#include "converter/TextFormat.h"
#include "converter/Utf8.h"
#include "converter/ValueText.h"

#include <pugixml.hpp>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace serz {
namespace {

struct Failure {
    const char* at;  // position in the parse buffer, or null for the start
    std::string reason;
};

constexpr unsigned kParseFlags = pugi::parse_escapes | pugi::parse_eol | pugi::parse_cdata |
                                 pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

bool isBlankText(std::string_view s) { return text::trim(s).empty(); }

struct ElementInfo {
    NodeKind kind = NodeKind::Open;
    ValueType type = ValueType::Bool;
    pugi::xml_attribute id, typeAttr, elementType, numElements, altEncoding, size;
};

// Receives the records in document order as the reader makes them. The
// child count of an open record is known only at its close, so add() returns
// a handle that setChildCount() uses to fill it in.
class NodeSink {
public:
    virtual std::size_t add(const Node& node) = 0;
    virtual void setChildCount(std::size_t handle, std::uint32_t count) = 0;

protected:
    ~NodeSink() = default;
};

class Reader {
public:
    Reader(std::string_view xml, Document& doc, NodeSink& sink) : xml_(xml), doc_(doc), sink_(sink) {}

    void run() {
        usePugiArena();
        doc_.ownedBuffer.reset(new char[xml_.size() + 1]);  // no zero fill: overwritten at once
        buf_ = doc_.ownedBuffer.get();
        vantrel::platform::adviseLargeBuffer(buf_, xml_.size() + 1);
        std::memcpy(buf_, xml_.data(), xml_.size());
        buf_[xml_.size()] = '\0';
        rejectNulReferences();
        const pugi::xml_parse_result parsed =
            dom_.load_buffer_inplace(buf_, xml_.size(), kParseFlags, pugi::encoding_utf8);
        if (!parsed)
            throw Failure{buf_ + static_cast<std::size_t>(parsed.offset),
                          std::string("malformed XML: ") + parsed.description()};
        walk(rootElement());
    }

    // pugixml decodes "&#0;" (and numbers that wrap to 0 in 32 bits) to a
    // NUL character, which would silently cut the text short.
    void rejectNulReferences() const {
        const char* p = xml_.data();
        const char* const end = p + xml_.size();
        while ((p = static_cast<const char*>(std::memchr(p, '&', static_cast<std::size_t>(end - p))))) {
            const char* q = p + 1;
            if (q < end && *q == '#') {
                ++q;
                const bool hex = q < end && *q == 'x';
                if (hex) ++q;
                std::uint32_t code = 0;
                bool digits = false;
                for (; q < end; ++q, digits = true) {
                    const char c = *q;
                    if (c >= '0' && c <= '9') code = code * (hex ? 16u : 10u) + static_cast<std::uint32_t>(c - '0');
                    else if (hex && ((c | ' ') >= 'a' && (c | ' ') <= 'f')) code = code * 16u + static_cast<std::uint32_t>((c | ' ') - 'a' + 10);
                    else break;
                }
                if (digits && q < end && *q == ';' && code == 0)
                    fail(buf_ + (p - xml_.data()), "a character reference to NUL, which the file cannot hold");
            }
            ++p;
        }
    }

    // Line and column (in characters) of a position in the parse buffer.
    void locate(const char* at, Error& e) const {
        std::size_t offset = 0;
        if (inBuffer(at)) offset = static_cast<std::size_t>(at - buf_);
        e.offset = offset;
        e.line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < offset; ++i)
            if (xml_[i] == '\n') {
                ++e.line;
                lineStart = i + 1;
            }
        const auto chars = utf8::countChars(xml_.substr(lineStart, offset - lineStart));
        e.column = 1 + static_cast<int>(chars >= 0 ? chars : static_cast<std::int64_t>(offset - lineStart));
    }

private:
    // pugixml hands out a shared empty string for empty values, which lies
    // outside the buffer; compare addresses as integers.
    bool inBuffer(const char* p) const {
        const auto a = reinterpret_cast<std::uintptr_t>(p), b = reinterpret_cast<std::uintptr_t>(buf_);
        return a >= b && a <= b + xml_.size();
    }

    [[noreturn]] static void fail(const char* at, std::string reason) { throw Failure{at, std::move(reason)}; }
    static const char* at(pugi::xml_node e) { return e.name() - 1; }  // the '<'

    const char* textPosition(pugi::xml_node e, const char* text) const { return inBuffer(text) ? text : at(e); }

    pugi::xml_node rootElement() {
        pugi::xml_node root;
        for (pugi::xml_node n = dom_.first_child(); n; n = n.next_sibling()) {
            if (n.type() == pugi::node_element) {
                if (root) fail(at(n), "a second root element " + quoted(n.name()));
                root = n;
            } else if ((n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) && !isBlankText(n.value())) {
                fail(n.value(), "text outside the root element");
            }
        }
        if (!root) fail(buf_ + xml_.size(), "the XML holds no root element");
        return root;
    }

    // ---- strings -------------------------------------------------------

    std::uint32_t intern(std::string_view s) {
        const std::uint64_t h = StringIndex::hash(s);
        const std::uint32_t found = strings_.find(s, h);
        if (found != StringIndex::kAbsent) return found;
        const auto index = static_cast<std::uint32_t>(doc_.strings.size());
        strings_.insert(s, h, index);
        doc_.strings.push_back(s);
        return index;
    }

    std::uint32_t internOwned(std::string s) {
        const std::uint32_t found = strings_.find(s);
        if (found != StringIndex::kAbsent) return found;
        return intern(doc_.ownedText.emplace_back(std::move(s)));
    }

    std::uint32_t internText(pugi::xml_node e, std::string_view s, const char* where) {
        const std::size_t bad = utf8::firstInvalid(s);
        if (bad != std::string_view::npos)
            fail(textPosition(e, where ? where + bad : nullptr), "text is not valid UTF-8");
        return intern(s);
    }

    std::uint32_t elementName(pugi::xml_node e) {
        const std::string_view xmlName = e.name();
        const std::uint64_t h = StringIndex::hash(xmlName);
        const std::uint32_t found = names_.find(xmlName, h);
        if (found != StringIndex::kAbsent) return found;
        if (utf8::firstInvalid(xmlName) != std::string_view::npos) fail(at(e), "element name is not valid UTF-8");
        if (xmlName.starts_with("d:")) fail(at(e), "unknown element " + quoted(xmlName));
        std::uint32_t index;
        if (names::needsRewrite(xmlName)) {
            std::string binary = names::toBinaryName(xmlName);
            std::string why = names::whyNotWritable(binary);
            if (!why.empty()) fail(at(e), "element " + quoted(xmlName) + ": " + why);
            index = internOwned(std::move(binary));
        } else {
            std::string why = names::whyNotWritable(xmlName);
            if (!why.empty()) fail(at(e), why);
            index = intern(xmlName);
        }
        names_.insert(xmlName, h, index);
        return index;
    }

    void noteType(ValueType type) {
        auto& known = doc_.typeString[static_cast<int>(type)];
        if (known == kNoString) known = intern(typeName(type));
    }

    // ---- element text --------------------------------------------------

    // The element's character data. Usually one run stored with the
    // element; comments or CDATA split it into several, which are joined.
    // `where` is set to the text's position in the buffer, or null when the
    // text had to be joined.
    std::string_view elementText(pugi::xml_node e, const char*& where) {
        where = e.value();
        if (!e.first_child()) return e.value();
        where = nullptr;
        std::string joined = e.value();
        for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_element)
                fail(at(c), "element " + quoted(c.name()) + " inside " + quoted(e.name()) + ", which holds a value");
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) joined += c.value();
        }
        return doc_.ownedText.emplace_back(std::move(joined));
    }

    // ---- classification ------------------------------------------------

    ElementInfo classify(pugi::xml_node e) {
        ElementInfo info;
        const char* name = e.name();
        if (name[0] == 'd' && name[1] == ':') {
            if (std::strcmp(name, "d:nil") == 0) {
                info.kind = NodeKind::Nil;
                return info;
            }
            if (std::strcmp(name, "d:blob") == 0) {
                info.kind = NodeKind::Blob;
                info.size = e.attribute("d:size");
                if (!info.size) fail(at(e), "d:blob without a d:size attribute");
                return info;
            }
        }
        for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
            const char* an = a.name();
            if (an[0] != 'd' || an[1] != ':') continue;
            const char* rest = an + 2;
            switch (rest[0]) {  // one comparison per attribute instead of five
            case 't': if (std::strcmp(rest, "type") == 0) info.typeAttr = a; break;
            case 'i': if (std::strcmp(rest, "id") == 0) info.id = a; break;
            case 'a': if (std::strcmp(rest, "alt_encoding") == 0) info.altEncoding = a; break;
            case 'e': if (std::strcmp(rest, "elementType") == 0) info.elementType = a; break;
            case 'n': if (std::strcmp(rest, "numElements") == 0) info.numElements = a; break;
            default: break;
            }
        }
        if (info.typeAttr) {
            const std::string_view t = text::trim(info.typeAttr.value());
            if (t == "ref") {
                info.kind = NodeKind::Ref;
            } else {
                const auto type = typeFromName(t);
                if (!type) fail(info.typeAttr.value(), "unknown type name " + quoted(t));
                info.kind = NodeKind::Value;
                info.type = *type;
            }
        } else if (info.elementType) {
            const std::string_view t = text::trim(info.elementType.value());
            const auto type = typeFromName(t);
            if (!type) fail(info.elementType.value(), "unknown type name " + quoted(t));
            if (!info.numElements) fail(at(e), "array " + quoted(e.name()) + " without d:numElements");
            info.kind = NodeKind::Array;
            info.type = *type;
        }
        return info;
    }

    // ---- numbers -------------------------------------------------------

    std::uint64_t unsignedNumber(std::string_view s, std::uint64_t max, const char* where, std::string_view what) {
        try {
            return valuetext::unsignedNumber(s, max, what);
        } catch (const valuetext::ValueTextError& e) {
            fail(where, e.reason);
        }
    }

    std::uint64_t scalar(ValueType type, std::string_view s, const char* where) {
        try {
            return valuetext::scalar(type, s);
        } catch (const valuetext::ValueTextError& e) {
            fail(where, e.reason);
        }
    }

    std::uint64_t floatValue(const ElementInfo& info, std::string_view s, const char* where) {
        try {
            return valuetext::floatValue(info.type, s,
                                         info.altEncoding ? std::optional<std::string_view>(info.altEncoding.value())
                                                          : std::nullopt);
        } catch (const valuetext::ValueTextError& e) {
            fail(e.inAltEncoding ? info.altEncoding.value() : where, e.reason);
        }
    }

    // ---- leaves --------------------------------------------------------

    void value(pugi::xml_node e, const ElementInfo& info, Node& node) {
        noteType(info.type);
        const char* where = nullptr;
        const std::string_view s = elementText(e, where);
        const char* pos = textPosition(e, where);
        if (info.type == ValueType::String)
            node.value = internText(e, s, where);
        else if (isFloat(info.type))
            node.value = floatValue(info, s, pos);
        else
            node.value = scalar(info.type, s, pos);
    }

    void array(pugi::xml_node e, const ElementInfo& info, Node& node) {
        noteType(info.type);
        const std::uint64_t count =
            unsignedNumber(info.numElements.value(), 255, info.numElements.value(), "d:numElements (0 to 255)");
        const char* where = nullptr;
        const std::string_view s = elementText(e, where);
        const char* pos = textPosition(e, where);
        node.a = static_cast<std::uint32_t>(count);
        node.value = doc_.elements.size();
        std::size_t i = 0, found = 0;
        while (true) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
            if (i == s.size()) break;
            const std::size_t start = i;
            while (i < s.size() && !(s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
            if (++found > count) break;
            const std::string_view item = s.substr(start, i - start);
            const char* itemPos = where && pos == where ? where + start : pos;
            doc_.elements.push_back(info.type == ValueType::String ? internText(e, item, itemPos)
                                                                   : scalar(info.type, item, itemPos));
        }
        if (found != count)
            fail(pos, "d:numElements says " + std::to_string(count) + " but the text holds " +
                          (found > count ? "more" : std::to_string(found)) + " values");
    }

    void blob(pugi::xml_node e, const ElementInfo& info, Node& node) {
        const std::uint64_t size = unsignedNumber(info.size.value(), 0xFFFFFFFF, info.size.value(), "d:size");
        const char* where = nullptr;
        const std::string_view s = elementText(e, where);
        const char* pos = textPosition(e, where);
        node.a = static_cast<std::uint32_t>(size);
        node.value = doc_.blobBytes.size();
        int high = -1;
        std::uint64_t bytes = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const char c = s[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
            else fail(where && pos == where ? where + i : pos, "blob data holds a character that is not a hex digit");
            if (high < 0) {
                high = d;
                continue;
            }
            if (++bytes > size) break;
            doc_.blobBytes.push_back(static_cast<char>(high * 16 + d));
            high = -1;
        }
        if (high >= 0 && bytes <= size) fail(pos, "blob data ends with half a byte");
        if (bytes != size)
            fail(pos, "d:size says " + std::to_string(size) + " bytes but the data holds " +
                          (bytes > size ? "more" : std::to_string(bytes)));
    }

    void requireNoContent(pugi::xml_node e) {
        if (!isBlankText(e.value())) fail(e.value(), "text inside " + quoted(e.name()) + ", which holds no value");
        for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element)
                fail(at(c), "element " + quoted(c.name()) + " inside " + quoted(e.name()) + ", which holds no children");
            else if ((c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) && !isBlankText(c.value()))
                fail(c.value(), "text inside " + quoted(e.name()) + ", which holds no value");
    }

    // ---- the walk ------------------------------------------------------

    struct Open {
        pugi::xml_node element;
        std::uint32_t name;
        std::size_t handle;       // for the child count
        std::uint32_t children;   // counted so far
    };

    static pugi::xml_node nextElement(pugi::xml_node n) {
        while (n && n.type() != pugi::node_element) {
            if ((n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) && !isBlankText(n.value()))
                fail(n.value(), "text inside " + quoted(n.parent().name()) + ", which holds other elements");
            n = n.next_sibling();
        }
        return n;
    }

    void closeElement(const Open& open) {
        sink_.setChildCount(open.handle, open.children);
        Node close;
        close.kind = NodeKind::Close;
        close.name = open.name;
        sink_.add(close);
    }

    void walk(pugi::xml_node root) {
        std::vector<Open> stack;
        pugi::xml_node e = root;
        while (true) {
            if (!stack.empty()) ++stack.back().children;
            const ElementInfo info = classify(e);
            Node node;
            node.kind = info.kind;
            node.type = info.type;
            if (stack.empty() && info.kind != NodeKind::Open)
                fail(at(e), "the root element " + quoted(e.name()) + " must hold elements, not a value");
            switch (info.kind) {
            case NodeKind::Open: {
                node.name = elementName(e);
                if (info.id) node.a = static_cast<std::uint32_t>(
                    unsignedNumber(info.id.value(), 0xFFFFFFFF, info.id.value(), "d:id"));
                if (!isBlankText(e.value()))
                    fail(e.value(), "text inside " + quoted(e.name()) + ", which holds other elements");
                if (stack.size() >= static_cast<std::size_t>(kMaxDepth))
                    fail(at(e), "elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
                stack.push_back({e, node.name, sink_.add(node), 0});
                const pugi::xml_node child = nextElement(e.first_child());
                if (child) {
                    e = child;
                    continue;
                }
                closeElement(stack.back());
                stack.pop_back();
                break;
            }
            case NodeKind::Value:
                node.name = elementName(e);
                value(e, info, node);
                sink_.add(node);
                break;
            case NodeKind::Array:
                node.name = elementName(e);
                array(e, info, node);
                sink_.add(node);
                break;
            case NodeKind::Ref: {
                node.name = elementName(e);
                const char* where = nullptr;
                const std::string_view s = elementText(e, where);
                node.a = static_cast<std::uint32_t>(unsignedNumber(s, 0xFFFFFFFF, textPosition(e, where), "ref"));
                sink_.add(node);
                break;
            }
            case NodeKind::Nil:
                requireNoContent(e);
                sink_.add(node);
                break;
            case NodeKind::Blob:
                blob(e, info, node);
                sink_.add(node);
                break;
            case NodeKind::Prefix:
            case NodeKind::Close: break;  // never produced by classify()
            }
            // Move on: the next sibling element, or close parents until one has one.
            while (!stack.empty()) {
                const pugi::xml_node next = nextElement(e.next_sibling());
                if (next) {
                    e = next;
                    break;
                }
                e = stack.back().element;
                closeElement(stack.back());
                stack.pop_back();
            }
            if (stack.empty()) return;
        }
    }

    std::string_view xml_;
    Document& doc_;
    NodeSink& sink_;
    char* buf_ = nullptr;
    pugi::xml_document dom_;
    StringIndex strings_;  // binary content -> index
    StringIndex names_;    // XML spelling -> index
};


// Keeps every record in the document.
class CollectingSink final : public NodeSink {
public:
    explicit CollectingSink(Document& doc) : doc_(doc) {}
    std::size_t add(const Node& node) override {
        doc_.nodes.push_back(node);
        return doc_.nodes.size() - 1;
    }
    void setChildCount(std::size_t handle, std::uint32_t count) override { doc_.nodes[handle].b = count; }

private:
    Document& doc_;
};

// Writes each record to the binary at once; array elements and blob bytes
// are dropped as soon as they are written.
class EncodingSink final : public NodeSink {
public:
    EncodingSink(Document& doc, std::size_t reserveBytes) : doc_(doc), encoder_(doc, reserveBytes) {}
    std::size_t add(const Node& node) override {
        encoder_.write(node);
        if (node.kind == NodeKind::Array) doc_.elements.clear();
        if (node.kind == NodeKind::Blob) doc_.blobBytes.clear();
        return encoder_.lastCountOffset();
    }
    void setChildCount(std::size_t handle, std::uint32_t count) override { encoder_.patchU32(handle, count); }
    std::string finish() { return encoder_.finish(); }

private:
    Document& doc_;
    BinEncoder encoder_;
};

Error failureToError(const Reader& reader, const Failure& f) {
    Error e;
    e.reason = f.reason;
    reader.locate(f.at, e);
    return e;
}

}  // namespace

Result<Document> readXml(std::string_view xml) {
    Document doc;
    doc.nodes.reserve(xml.size() / 32 + 16);  // about 40 bytes of XML a record
    vantrel::platform::adviseLargeBuffer(doc.nodes.data(), doc.nodes.capacity() * sizeof(Node));
    CollectingSink sink(doc);
    Reader reader(xml, doc, sink);
    try {
        reader.run();
    } catch (const Failure& f) {
        return failureToError(reader, f);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::length_error&) {
        return outOfMemory();
    }
    return doc;
}

Result<std::string> xmlToBin(std::string_view xml) {
    Document doc;
    EncodingSink sink(doc, xml.size() / 4);
    Reader reader(xml, doc, sink);
    try {
        reader.run();
    } catch (const Failure& f) {
        return failureToError(reader, f);
    } catch (const EncodeFailure& f) {
        return Error{0, 0, 0, f.reason};    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::length_error&) {
        return outOfMemory();
    }
    return sink.finish();
}

}  // namespace serz
