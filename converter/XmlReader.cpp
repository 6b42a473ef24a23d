// XML text -> Document. pugixml parses the text in place; the walk over the
// elements is iterative, so deep nesting cannot overflow the stack.

#include "converter/BinEncoder.h"
#include "converter/Codec.h"
#include "converter/Failure.h"
#include "converter/Names.h"
#include "converter/PugiMemory.h"
#include "converter/Quote.h"
#include "converter/StringIndex.h"
#include "converter/TextFormat.h"
#include "converter/Utf8.h"
#include "converter/ValueText.h"
#include "converter/XmlReferences.h"
#include "platform/core/LargeBuffer.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace serz {
namespace {

constexpr unsigned kParseFlags = pugi::parse_escapes | pugi::parse_eol | pugi::parse_cdata |
                                 pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

bool isBlankText(std::string_view s) { return text::trim(s).empty(); }

struct ElementInfo {
  NodeKind kind = NodeKind::Open;
  ValueType type = ValueType::Bool;
  pugi::xml_attribute id, typeAttr, elementType, numElements, altEncoding, size;
};

// Receives the records in document order as the reader makes them, each
// with the byte offset of its element. The child count of an open record is
// known only at its close, so add() returns a handle that setChildCount()
// uses to fill it in.
class NodeSink {
 public:
  virtual std::size_t add(const Node& node, std::size_t position) = 0;
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
    const pugi::xml_parse_result parsed =
        dom_.load_buffer_inplace(buf_, xml_.size(), kParseFlags, pugi::encoding_utf8);
    // A bad reference before the point where parsing failed is the first fault.
    const auto parsedUpTo = parsed ? xml_.size() : static_cast<std::size_t>(parsed.offset);
    xmlrefs::check(xml_.substr(0, parsedUpTo));
    if (!parsed) detail::fail(parsedUpTo, std::string("malformed XML: ") + parsed.description());
    walk(rootElement());
  }

  // Line and column (in characters) of a byte offset. CR LF, LF and a
  // lone CR each end a line.
  Error locate(std::size_t offset) const {
    Error e;
    e.at = Error::At::LineColumn;
    e.offset = offset = std::min(offset, xml_.size());
    e.line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
      const char c = xml_[i];
      if (c == '\r' || (c == '\n' && (i == 0 || xml_[i - 1] != '\r'))) ++e.line;
      if (c == '\r' || c == '\n') lineStart = i + 1;
    }
    const auto chars = utf8::countChars(xml_.substr(lineStart, offset - lineStart));
    e.column =
        1 + static_cast<int>(chars >= 0 ? chars : static_cast<std::int64_t>(offset - lineStart));
    return e;
  }

 private:
  // pugixml hands out a shared empty string for empty values, which lies
  // outside the buffer; compare addresses as integers.
  bool inBuffer(const char* p) const {
    const auto a = reinterpret_cast<std::uintptr_t>(p), b = reinterpret_cast<std::uintptr_t>(buf_);
    return a >= b && a <= b + xml_.size();
  }

  std::size_t offsetOf(const char* p) const {
    return inBuffer(p) ? static_cast<std::size_t>(p - buf_) : 0;
  }
  [[noreturn]] void fail(const char* at, std::string reason) const {
    detail::fail(offsetOf(at), std::move(reason));
  }
  static const char* at(pugi::xml_node e) { return e.name() - 1; }  // the '<'

  // Offset in the input of byte `index` of a text that the parser decoded
  // in place from `start`: references and CR LF pairs shrank while it
  // decoded, so the input is walked again (only to report an error).
  // Without a start in the buffer (joined text), the element's position.
  std::size_t textOffset(pugi::xml_node e, const char* start, std::size_t index) const {
    if (!start || !inBuffer(start)) return offsetOf(at(e));
    std::size_t o = offsetOf(start), produced = 0;
    while (produced < index && o < xml_.size()) {
      const char c = xml_[o];
      if (c == '&') {
        const std::size_t semi = xml_.find(';', o);
        if (semi == std::string_view::npos) break;
        const std::string_view ref = xml_.substr(o + 1, semi - o - 1);
        produced += ref.starts_with('#') ? utf8Length(ref) : 1;
        o = semi + 1;
      } else {
        o += c == '\r' && o + 1 < xml_.size() && xml_[o + 1] == '\n' ? 2 : 1;
        ++produced;
      }
    }
    return o;
  }

  static std::size_t utf8Length(std::string_view characterReference) {
    const bool hex = characterReference.size() > 1 && characterReference[1] == 'x';
    std::uint32_t code = 0;
    for (char c : characterReference.substr(hex ? 2 : 1))
      code = code * (hex ? 16u : 10u) +
             static_cast<std::uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  }
  [[noreturn]] void failInText(pugi::xml_node e, const char* start, std::size_t index,
                               std::string reason) const {
    detail::fail(textOffset(e, start, index), std::move(reason));
  }

  // Byte `index` of an element's text, worked out only when asked.
  class TextPlace final : public valuetext::Where {
   public:
    TextPlace(const Reader& reader, pugi::xml_node e, const char* start, std::size_t index)
        : reader_(reader), e_(e), start_(start), index_(index) {}
    std::size_t offset() const override { return reader_.textOffset(e_, start_, index_); }

   private:
    const Reader& reader_;
    pugi::xml_node e_;
    const char* start_;
    std::size_t index_;
  };

  pugi::xml_node rootElement() {
    pugi::xml_node root;
    for (pugi::xml_node n = dom_.first_child(); n; n = n.next_sibling()) {
      if (n.type() == pugi::node_element) {
        if (root) fail(at(n), "a second root element " + quoted(n.name()));
        root = n;
      } else if ((n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) &&
                 !isBlankText(n.value())) {
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

  // `where`/`offset`: the text's start and the string's place in it.
  std::uint32_t internText(pugi::xml_node e, std::string_view s, const char* where,
                           std::size_t offset) {
    const std::size_t bad = utf8::firstInvalid(s);
    if (bad != std::string_view::npos)
      failInText(e, where, offset + bad, "text is not valid UTF-8");
    return intern(s);
  }

  std::uint32_t elementName(pugi::xml_node e) {
    const std::string_view xmlName = e.name();
    const std::uint64_t h = StringIndex::hash(xmlName);
    const std::uint32_t found = names_.find(xmlName, h);
    if (found != StringIndex::kAbsent) return found;
    if (utf8::firstInvalid(xmlName) != std::string_view::npos)
      fail(at(e), "element name is not valid UTF-8");
    if (xmlName.starts_with("d:")) fail(at(e), "unknown element " + quoted(xmlName));
    std::uint32_t index;
    if (names::needsRewrite(xmlName)) {
      std::string binary = names::toBinaryName(xmlName);
      std::string why = names::whyNotXmlName(binary);
      if (!why.empty()) fail(at(e), "element " + quoted(xmlName) + ": " + why);
      index = internOwned(std::move(binary));
    } else {
      std::string why = names::whyNotXmlName(xmlName);
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
        fail(at(c), "element " + quoted(c.name()) + " inside " + quoted(e.name()) +
                        ", which holds a value");
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
        case 't':
          if (std::strcmp(rest, "type") == 0) info.typeAttr = a;
          break;
        case 'i':
          if (std::strcmp(rest, "id") == 0) info.id = a;
          break;
        case 'a':
          if (std::strcmp(rest, "alt_encoding") == 0) info.altEncoding = a;
          break;
        case 'e':
          if (std::strcmp(rest, "elementType") == 0) info.elementType = a;
          break;
        case 'n':
          if (std::strcmp(rest, "numElements") == 0) info.numElements = a;
          break;
        default:
          break;
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

  std::uint64_t floatValue(const ElementInfo& info, std::string_view s,
                           const valuetext::Where& where) {
    std::optional<valuetext::AltEncoding> alt;
    if (info.altEncoding)
      alt = valuetext::AltEncoding{info.altEncoding.value(), offsetOf(info.altEncoding.value())};
    return valuetext::floatValue(info.type, s, where, alt);
  }

  std::uint64_t attributeNumber(pugi::xml_attribute a, std::uint64_t max, std::string_view what) {
    return valuetext::unsignedNumber(a.value(), max, what, valuetext::At(offsetOf(a.value())));
  }

  // ---- leaves --------------------------------------------------------

  Node value(pugi::xml_node e, const ElementInfo& info, std::uint32_t name) {
    noteType(info.type);
    const char* where = nullptr;
    const std::string_view s = elementText(e, where);
    const TextPlace place(*this, e, where, 0);
    if (isString(info.type)) return Node::value(name, info.type, internText(e, s, where, 0));
    if (isFloat(info.type)) return Node::value(name, info.type, floatValue(info, s, place));
    return Node::value(name, info.type, valuetext::scalar(info.type, s, place));
  }

  Node array(pugi::xml_node e, const ElementInfo& info, std::uint32_t name) {
    noteType(info.type);
    const auto count = static_cast<std::uint32_t>(
        attributeNumber(info.numElements, 255, "d:numElements (0 to 255)"));
    const char* where = nullptr;
    const std::string_view s = elementText(e, where);
    const Node node = Node::array(name, info.type, count, doc_.elements.size());
    std::size_t i = 0, found = 0;
    while (true) {
      while (i < s.size() && text::isBlank(s[i])) ++i;
      if (i == s.size()) break;
      const std::size_t start = i;
      while (i < s.size() && !text::isBlank(s[i])) ++i;
      if (++found > count) break;
      const std::string_view item = s.substr(start, i - start);
      doc_.elements.push_back(
          isString(info.type)
              ? internText(e, item, where, start)
              : valuetext::scalar(info.type, item, TextPlace(*this, e, where, start)));
    }
    if (found != count)
      detail::fail(textOffset(e, where, 0),
                   "d:numElements says " + std::to_string(count) + " but the text holds " +
                       (found > count ? "more" : std::to_string(found)) + " values");
    return node;
  }

  Node blob(pugi::xml_node e, const ElementInfo& info) {
    const std::uint64_t size = attributeNumber(info.size, 0xFFFFFFFF, "d:size");
    const char* where = nullptr;
    const std::string_view s = elementText(e, where);
    std::string bytes;
    bytes.reserve(std::min<std::uint64_t>(size, s.size() / 2));
    int high = -1;
    std::size_t highAt = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const int d = text::hexDigit(s[i]);
      if (d < 0) {
        if (text::isBlank(s[i])) continue;
        failInText(e, where, i, "blob data holds a character that is not a hex digit");
      }
      if (high < 0) {
        high = d;
        highAt = i;
        continue;
      }
      if (bytes.size() == size) {
        bytes.push_back(0);  // one more than d:size says
        break;
      }
      bytes.push_back(static_cast<char>(high * 16 + d));
      high = -1;
    }
    if (high >= 0 && bytes.size() <= size)
      failInText(e, where, highAt, "blob data ends with half a byte");
    if (bytes.size() != size)
      failInText(e, where, 0,
                 "d:size says " + std::to_string(size) + " bytes but the data holds " +
                     (bytes.size() > size ? "more" : std::to_string(bytes.size())));
    return Node::blob(doc_.addOwnedBlob(std::move(bytes)));
  }

  void requireNoContent(pugi::xml_node e) {
    if (!isBlankText(e.value()))
      fail(e.value(), "text inside " + quoted(e.name()) + ", which holds no value");
    for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_element)
        fail(at(c), "element " + quoted(c.name()) + " inside " + quoted(e.name()) +
                        ", which holds no children");
      else if ((c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) &&
               !isBlankText(c.value()))
        fail(c.value(), "text inside " + quoted(e.name()) + ", which holds no value");
  }

  // ---- the walk ------------------------------------------------------

  struct Open {
    pugi::xml_node element;
    std::uint32_t name;
    std::size_t handle;      // for the child count
    std::uint32_t children;  // counted so far, every kind of child
  };

  pugi::xml_node nextElement(pugi::xml_node n) const {
    while (n && n.type() != pugi::node_element) {
      if ((n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) &&
          !isBlankText(n.value()))
        fail(n.value(),
             "text inside " + quoted(n.parent().name()) + ", which holds other elements");
      n = n.next_sibling();
    }
    return n;
  }

  void closeElement(const Open& open) {
    sink_.setChildCount(open.handle, open.children);
    sink_.add(Node::close(open.name), offsetOf(at(open.element)));
  }

  // The record for a leaf element (anything but an element with children).
  Node leaf(pugi::xml_node e, const ElementInfo& info) {
    switch (info.kind) {
      case NodeKind::Value:
        return value(e, info, elementName(e));
      case NodeKind::Array:
        return array(e, info, elementName(e));
      case NodeKind::Ref: {
        const std::uint32_t name = elementName(e);
        const char* where = nullptr;
        const std::string_view s = elementText(e, where);
        return Node::ref(name, valuetext::id32(s, "ref", TextPlace(*this, e, where, 0)));
      }
      case NodeKind::Nil:
        requireNoContent(e);
        return Node::nil();
      case NodeKind::Blob:
        return blob(e, info);
      case NodeKind::Open:
      case NodeKind::Prefix:
      case NodeKind::Close:
        break;
    }
    return Node::nil();  // not reached: classify() gives only the kinds above
  }

  void walk(pugi::xml_node root) {
    std::vector<Open> stack;
    pugi::xml_node e = root;
    while (true) {
      if (!stack.empty()) ++stack.back().children;
      const ElementInfo info = classify(e);
      const std::size_t position = offsetOf(at(e));
      if (stack.empty() && info.kind != NodeKind::Open)
        fail(at(e), "the root element " + quoted(e.name()) + " must hold elements, not a value");
      if (info.kind == NodeKind::Open) {
        const std::uint32_t name = elementName(e);
        const std::uint32_t id = info.id ? valuetext::id32(info.id.value(), "d:id",
                                                           valuetext::At(offsetOf(info.id.value())))
                                         : 0;
        if (!isBlankText(e.value()))
          fail(e.value(), "text inside " + quoted(e.name()) + ", which holds other elements");
        if (stack.size() >= static_cast<std::size_t>(kMaxDepth))
          fail(at(e), "elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
        stack.push_back({e, name, sink_.add(Node::open(name, id, 0), position), 0});
        const pugi::xml_node child = nextElement(e.first_child());
        if (child) {
          e = child;
          continue;
        }
        closeElement(stack.back());
        stack.pop_back();
      } else {
        sink_.add(leaf(e, info), position);
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
  std::size_t add(const Node& node, std::size_t) override {
    doc_.nodes.push_back(node);
    return doc_.nodes.size() - 1;
  }
  void setChildCount(std::size_t handle, std::uint32_t count) override {
    doc_.nodes[handle].setChildCount(count);
  }

 private:
  Document& doc_;
};

// Writes each record to the binary at once; array elements and blob bytes
// are let go as soon as they are written. The encoder reports a failure at
// the record's element.
class EncodingSink final : public NodeSink {
 public:
  EncodingSink(Document& doc, std::size_t reserveBytes) : doc_(doc), encoder_(doc, reserveBytes) {}
  std::size_t add(const Node& node, std::size_t position) override {
    encoder_.write(node, position);
    if (node.kind() == NodeKind::Array) doc_.elements.clear();
    if (node.kind() == NodeKind::Blob) {
      doc_.blobs.clear();
      doc_.ownedBlobs.clear();
    }
    return encoder_.lastCountOffset();
  }
  void setChildCount(std::size_t handle, std::uint32_t count) override {
    encoder_.patchU32(handle, count);
  }
  std::string finish() { return encoder_.finish(); }

 private:
  Document& doc_;
  BinEncoder encoder_;
};

}  // namespace

Result<Document> readXml(std::string_view xml) {
  Document doc;
  CollectingSink sink(doc);
  Reader reader(xml, doc, sink);
  return detail::guarded<Document>(
      [&] {
        doc.nodes.reserve(xml.size() / 32 + 16);  // about 40 bytes of XML a record
        vantrel::platform::adviseLargeBuffer(doc.nodes.data(), doc.nodes.capacity() * sizeof(Node));
        reader.run();
        return std::move(doc);
      },
      [&](const detail::Failure& f) {
        Error e = reader.locate(f.position);
        e.reason = f.reason;
        return e;
      });
}

Result<std::string> xmlToBin(std::string_view xml) {
  Document doc;
  std::optional<EncodingSink> sink;
  std::optional<Reader> reader;
  return detail::guarded<std::string>(
      [&] {
        sink.emplace(doc, xml.size() / 4);
        reader.emplace(xml, doc, *sink);
        reader->run();
        return sink->finish();
      },
      [&](const detail::Failure& f) {
        Error e = reader ? reader->locate(f.position) : Error{};
        e.reason = f.reason;
        return e;
      });
}

}  // namespace serz
