// Document -> XML text in the converter's dialect: one element per line, one
// tab per level, CR LF line ends.

#include "converter/Codec.h"
#include "converter/Names.h"
#include "converter/OutBuf.h"
#include "converter/TextFormat.h"

#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace serz {
namespace {

struct Failure {
    std::string reason;
};

constexpr char kRootAttributes[] = " xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\"";

// Characters that text content cannot carry as they are. Control characters
// become character references so tabs and line breaks inside a value survive
// the line-end handling of XML readers and editors.
bool needsEscape(unsigned char c) { return c < 0x20 || c == '&' || c == '<' || c == '>'; }

class Writer {
public:
    explicit Writer(const Document& doc)
        : doc_(doc), out_(doc.nodes.size() * 64 + doc.blobBytes.size() * 3 + 256),
          nameChecked_(doc.strings.size(), false) {}

    std::string run() {
        out_.lit("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
        const auto& nodes = doc_.nodes;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const Node& n = nodes[i];
            switch (n.kind) {
            case NodeKind::Prefix: break;  // has no XML form
            case NodeKind::Open: {
                const bool empty = i + 1 < nodes.size() && nodes[i + 1].kind == NodeKind::Close;
                openTag(n);
                if (empty) {
                    out_.lit("/>\r\n");
                    ++i;
                } else {
                    out_.lit(">\r\n");
                    ++depth_;
                }
                break;
            }
            case NodeKind::Close:
                if (depth_ == 0) throw Failure{"a close record outside any element"};
                --depth_;
                indent();
                out_.lit("</");
                name(n.name);
                out_.lit(">\r\n");
                break;
            case NodeKind::Value: value(n); break;
            case NodeKind::Array: array(n); break;
            case NodeKind::Nil:
                indent();
                out_.lit("<d:nil/>\r\n");
                break;
            case NodeKind::Ref:
                indent();
                out_.put('<');
                name(n.name);
                out_.lit(" d:type=\"ref\">");
                text::appendUnsigned(out_, n.a);
                closeTag(n.name);
                break;
            case NodeKind::Blob: blob(n); break;
            }
        }
        return out_.take();
    }

private:
    void indent() { out_.repeat('\t', depth_); }

    void name(std::uint32_t index) {
        if (index >= doc_.strings.size()) throw Failure{"a record refers to a string that does not exist"};
        const std::string_view s = doc_.strings[index];
        if (!nameChecked_[index]) {
            std::string why = names::whyNotWritable(s);
            if (!why.empty()) throw Failure{why};
            nameChecked_[index] = true;
        }
        names::appendXmlName(out_, s);
    }

    void closeTag(std::uint32_t nameIndex) {
        out_.lit("</");
        name(nameIndex);
        out_.lit(">\r\n");
    }

    void openTag(const Node& n) {
        indent();
        out_.put('<');
        name(n.name);
        if (!rootWritten_) {
            out_.lit(kRootAttributes);
            rootWritten_ = true;
        }
        if (n.a != 0) {
            out_.lit(" d:id=\"");
            text::appendUnsigned(out_, n.a);
            out_.put('"');
        }
    }

    void escaped(std::string_view s) {
        if (s.find('\0') != std::string_view::npos) throw Failure{"a string contains a NUL character, which XML cannot hold"};
        std::size_t plain = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (!needsEscape(c)) continue;
            out_.put(s.substr(plain, i - plain));
            switch (c) {
            case '&': out_.lit("&amp;"); break;
            case '<': out_.lit("&lt;"); break;
            case '>': out_.lit("&gt;"); break;
            default:
                out_.lit("&#");
                text::appendUnsigned(out_, c);
                out_.put(';');
            }
            plain = i + 1;
        }
        out_.put(s.substr(plain));
    }

    void stringValue(std::uint64_t index) {
        if (index >= doc_.strings.size()) throw Failure{"a value refers to a string that does not exist"};
        escaped(doc_.strings[index]);
    }

    static double widen(ValueType type, std::uint64_t bits) {
        if (type == ValueType::Float32) return std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        return std::bit_cast<double>(bits);
    }

    void scalarText(ValueType type, std::uint64_t v) {
        switch (type) {
        case ValueType::Bool:
        case ValueType::UInt8:
        case ValueType::UInt16:
        case ValueType::UInt32:
        case ValueType::UInt64: text::appendUnsigned(out_, v); break;
        case ValueType::SInt8: text::appendSigned(out_, static_cast<std::int8_t>(v)); break;
        case ValueType::SInt16: text::appendSigned(out_, static_cast<std::int16_t>(v)); break;
        case ValueType::SInt32: text::appendSigned(out_, static_cast<std::int32_t>(v)); break;
        case ValueType::SInt64: text::appendSigned(out_, static_cast<std::int64_t>(v)); break;
        case ValueType::Float32:
        case ValueType::Float64: text::appendG(out_, widen(type, v)); break;
        case ValueType::String: stringValue(v); break;
        }
    }

    void value(const Node& n) {
        indent();
        out_.put('<');
        name(n.name);
        out_.lit(" d:type=\"");
        out_.put(typeName(n.type));
        if (isFloat(n.type)) {
            out_.lit("\" d:alt_encoding=\"");
            text::appendHexLE(out_, std::bit_cast<std::uint64_t>(widen(n.type, n.value)));
            out_.lit("\" d:precision=\"string\">");
        } else {
            out_.lit("\">");
        }
        scalarText(n.type, n.value);
        closeTag(n.name);
    }

    void array(const Node& n) {
        if (n.value > doc_.elements.size() || n.a > doc_.elements.size() - n.value)
            throw Failure{"an array refers to elements that do not exist"};
        indent();
        out_.put('<');
        name(n.name);
        out_.lit(" d:numElements=\"");
        text::appendUnsigned(out_, n.a);
        out_.lit("\" d:elementType=\"");
        out_.put(typeName(n.type));
        out_.put('"');
        if (isFloat(n.type)) out_.lit(" d:precision=\"string\"");
        out_.put('>');
        for (std::uint32_t i = 0; i < n.a; ++i) {
            if (i) out_.put(' ');
            const std::uint64_t v = doc_.elements[n.value + i];
            if (isFloat(n.type)) {
                text::appendFixed7(out_, widen(n.type, v));
            } else {
                if (n.type == ValueType::String) {
                    const std::string_view s = v < doc_.strings.size() ? doc_.strings[v] : std::string_view();
                    if (s.empty() || s.find_first_of(" \t\r\n") != std::string_view::npos)
                        throw Failure{"a string array item is empty or holds white space, which XML list text cannot keep"};
                }
                scalarText(n.type, v);
            }
        }
        closeTag(n.name);
    }

    // Hex in 8-byte words, four words a line, lines not indented so that the
    // element text holds nothing but hex digits, blanks and line breaks.
    void blob(const Node& n) {
        if (n.value > doc_.blobBytes.size() || n.a > doc_.blobBytes.size() - n.value)
            throw Failure{"a blob refers to bytes that do not exist"};
        static constexpr char kDigits[] = "0123456789ABCDEF";
        indent();
        out_.lit("<d:blob d:size=\"");
        text::appendUnsigned(out_, n.a);
        out_.lit("\">");
        const auto* bytes = reinterpret_cast<const unsigned char*>(doc_.blobBytes.data()) + n.value;
        for (std::uint32_t i = 0; i < n.a; ++i) {
            if (i % 32 == 0)
                out_.lit("\r\n");
            else if (i % 8 == 0)
                out_.put(' ');
            char* p = out_.room(2);
            p[0] = kDigits[bytes[i] >> 4];
            p[1] = kDigits[bytes[i] & 15];
            out_.advance(2);
        }
        out_.lit("</d:blob>\r\n");
    }

    const Document& doc_;
    OutBuf out_;
    std::vector<bool> nameChecked_;
    std::size_t depth_ = 0;
    bool rootWritten_ = false;
};

}  // namespace

Result<std::string> writeXml(const Document& doc) {
    try {
        return Writer(doc).run();
    } catch (const Failure& f) {
        return Error{0, 0, 0, f.reason};
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::length_error&) {
        return outOfMemory();
    }
}

}  // namespace serz
