// Document -> XML text.

#include "converter/BinDecoder.h"
#include "converter/Codec.h"
#include "converter/Failure.h"
#include "converter/Names.h"
#include "converter/TextFormat.h"
#include "converter/XmlEmitter.h"
#include "platform/core/LargeBuffer.h"

#include <array>
#include <bit>

namespace serz {
namespace {

constexpr char kRootAttributes[] =
    " xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\"";

// Characters that text content does not carry as they are: markup, quotes
// (as the converter writes them), and tabs and line breaks, which become
// character references so that they survive the line-end handling of XML
// readers and editors. NUL and the other control characters are written as
// they are, as the simulator's converter writes them (such XML is not
// well-formed for other XML tools); the reader takes them back as they are.
constexpr std::array<bool, 256> kEscaped = [] {
  std::array<bool, 256> t{};
  for (unsigned char c : {'\t', '\n', '\r', '&', '<', '>', '"', '\''}) t[c] = true;
  return t;
}();

// The bits of a float value as a double's, the form d:alt_encoding shows.
std::uint64_t widenedBits(ValueType type, std::uint64_t bits) {
  return payloadSize(type) == 4 ? widenedFloatBits(static_cast<std::uint32_t>(bits)) : bits;
}
double widen(ValueType type, std::uint64_t bits) {
  return std::bit_cast<double>(widenedBits(type, bits));
}

}  // namespace

XmlEmitter::XmlEmitter(const Document& doc, OutBuf& out) : doc_(doc), out_(out) {
  out_.lit("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
}

void XmlEmitter::fail(std::string reason) const { detail::fail(position_, std::move(reason)); }

void XmlEmitter::write(const Node& n, std::size_t position) {
  position_ = position;
  if (n.kind() == NodeKind::Prefix) return;  // has no XML form
  if (openPending_) {
    openPending_ = false;
    if (n.kind() == NodeKind::Close) {
      out_.lit("/>\r\n");  // an element without children is one empty-element tag
      return;
    }
    out_.lit(">\r\n");
    ++depth_;
  }
  switch (n.kind()) {
    case NodeKind::Open:
      openTag(n);
      openPending_ = true;
      break;
    case NodeKind::Close:
      if (depth_ == 0) fail("a close record outside any element");
      --depth_;
      indent();
      closeTag(n.name());
      break;
    case NodeKind::Value:
      value(n);
      break;
    case NodeKind::Array:
      array(n);
      break;
    case NodeKind::Nil:
      indent();
      out_.lit("<d:nil/>\r\n");
      break;
    case NodeKind::Ref:
      indent();
      out_.put('<');
      name(n.name());
      out_.lit(" d:type=\"ref\">");
      text::appendSigned(out_, static_cast<std::int32_t>(n.id()));
      closeTag(n.name());
      break;
    case NodeKind::Blob:
      blob(n);
      break;
    case NodeKind::Prefix:
      break;
  }
}

void XmlEmitter::finish(std::size_t position) {
  position_ = position;
  if (openPending_ || depth_ != 0) fail("the records end inside an element");
}

void XmlEmitter::name(std::uint32_t index) {
  if (index >= doc_.strings.size()) fail("a record refers to a string that does not exist");
  const std::string_view s = doc_.strings[index];
  if (index >= nameChecked_.size()) nameChecked_.resize(doc_.strings.size(), false);
  if (!nameChecked_[index]) {
    std::string why = names::whyNotXmlName(s);
    if (!why.empty()) fail(why);
    nameChecked_[index] = true;
  }
  names::appendXmlName(out_, s);
}

void XmlEmitter::closeTag(std::uint32_t nameIndex) {
  out_.lit("</");
  name(nameIndex);
  out_.lit(">\r\n");
}

// Ids print signed, as the converter prints them.
void XmlEmitter::openTag(const Node& n) {
  indent();
  out_.put('<');
  name(n.name());
  if (!rootWritten_) {
    out_.lit(kRootAttributes);
    rootWritten_ = true;
  }
  if (n.id() != 0) {
    out_.lit(" d:id=\"");
    text::appendSigned(out_, static_cast<std::int32_t>(n.id()));
    out_.put('"');
  }
}

void XmlEmitter::escaped(std::string_view s) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (!kEscaped[c]) continue;
    out_.put(s.substr(plain, i - plain));
    switch (c) {
      case '&':
        out_.lit("&amp;");
        break;
      case '<':
        out_.lit("&lt;");
        break;
      case '>':
        out_.lit("&gt;");
        break;
      case '"':
        out_.lit("&quot;");
        break;
      case '\'':
        out_.lit("&apos;");
        break;
      default:
        out_.lit("&#");
        text::appendUnsigned(out_, c);
        out_.put(';');
    }
    plain = i + 1;
  }
  out_.put(s.substr(plain));
}

void XmlEmitter::stringValue(std::uint64_t index) {
  if (index >= doc_.strings.size()) fail("a value refers to a string that does not exist");
  escaped(doc_.strings[index]);
}

void XmlEmitter::scalarText(ValueType type, std::uint64_t v) {
  const int unused = 64 - 8 * payloadSize(type);  // bits above the payload's
  switch (textForm(type)) {
    case TextForm::Bool:
      out_.put(v ? '1' : '0');
      break;  // the game also stores other non-zero bytes
    case TextForm::Unsigned:
      text::appendUnsigned(out_, v);
      break;
    case TextForm::Signed:  // the payload's top bit is its sign
      text::appendSigned(out_, static_cast<std::int64_t>(v << unused) >> unused);
      break;
    case TextForm::Float:
      text::appendG(out_, widen(type, v));
      break;
    case TextForm::String:
      stringValue(v);
      break;
  }
}

void XmlEmitter::value(const Node& n) {
  indent();
  out_.put('<');
  name(n.name());
  out_.lit(" d:type=\"");
  out_.put(typeName(n.type()));
  if (isFloat(n.type())) {
    out_.lit("\" d:alt_encoding=\"");
    text::appendHexLE(out_, widenedBits(n.type(), n.bits()));
    out_.lit("\" d:precision=\"string\">");
  } else {
    out_.lit("\">");
  }
  scalarText(n.type(), n.bits());
  closeTag(n.name());
}

void XmlEmitter::array(const Node& n) {
  const std::size_t first = n.firstElement(), count = n.elementCount();
  if (first > doc_.elements.size() || count > doc_.elements.size() - first)
    fail("an array refers to elements that do not exist");
  indent();
  out_.put('<');
  name(n.name());
  out_.lit(" d:numElements=\"");
  text::appendUnsigned(out_, count);
  out_.lit("\" d:elementType=\"");
  out_.put(typeName(n.type()));
  out_.lit("\" d:precision=\"string\">");
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out_.put(' ');
    const std::uint64_t v = doc_.elements[first + i];
    if (isFloat(n.type())) {
      text::appendFixed7(out_, widen(n.type(), v));
      continue;
    }
    if (isString(n.type())) {
      const std::string_view s = v < doc_.strings.size() ? doc_.strings[v] : std::string_view();
      if (!text::fitsListText(s))
        fail("a string array item is empty or holds white space, which XML list text cannot keep");
    }
    scalarText(n.type(), v);
  }
  closeTag(n.name());
}

// Hex in 8-byte groups, four groups a line, starting right after the open
// tag; continuation lines are not indented, so the element text holds
// nothing but hex digits, blanks and line breaks.
void XmlEmitter::blob(const Node& n) {
  if (n.blobIndex() >= doc_.blobs.size()) fail("a blob refers to bytes that do not exist");
  const std::string_view data = doc_.blobs[n.blobIndex()];
  indent();
  out_.lit("<d:blob d:size=\"");
  text::appendUnsigned(out_, data.size());
  out_.lit("\">");
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i % 32 == 0) {
      if (i) out_.lit("\r\n");
    } else if (i % 8 == 0) {
      out_.put(' ');
    }
    char* p = out_.room(2);
    p[0] = text::kHexDigits[bytes[i] >> 4];
    p[1] = text::kHexDigits[bytes[i] & 15];
    out_.advance(2);
  }
  out_.lit("</d:blob>\r\n");
}

namespace {

class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::size_t reserve) {
    text.reserve(reserve);
    vantrel::platform::adviseLargeBuffer(text.data(), text.capacity());
  }
  bool write(std::string_view bytes) override {
    text.append(bytes);
    return true;
  }
  std::string text;
};

// Decodes `bin` record by record into the emitter; array elements and blobs
// are let go as soon as they are written.
void convert(std::string_view bin, OutBuf& out) {
  Document doc;
  BinDecoder decoder(bin, doc);
  XmlEmitter emitter(doc, out);
  Node node;
  std::size_t start = bin::kHeaderSize;
  while (decoder.next(node)) {
    emitter.write(node, start);
    doc.elements.clear();
    doc.blobs.clear();
    start = decoder.position();
  }
  emitter.finish(bin.size());
}

}  // namespace

Result<std::string> writeXml(const Document& doc) {
  return detail::guarded<std::string>(
      [&] {
        OutBuf out(doc.nodes.size() * 64 + 256);
        XmlEmitter emitter(doc, out);
        for (std::size_t i = 0; i < doc.nodes.size(); ++i) emitter.write(doc.nodes[i], i);
        emitter.finish(doc.nodes.size());
        return out.take();
      },
      detail::recordError);
}

Result<std::string> binToXml(std::string_view bin) {
  return detail::guarded<std::string>(
      [&] {
        // The XML is made a chunk at a time in a buffer that stays in the
        // cache and appended to the result, which is reserved (5 to 8 times
        // the binary; reserving costs no memory) but never zero-filled:
        // faster than growing the result itself.
        StringSink result(bin.size() * 8 + 4096);
        OutBuf out(result, 256u << 10);
        convert(bin, out);
        out.flush();
        return std::move(result.text);
      },
      detail::byteError);
}

Result<std::uint64_t> binToXml(std::string_view bin, ByteSink& sink) {
  return detail::guarded<std::uint64_t>(
      [&] {
        OutBuf out(sink);
        convert(bin, out);
        out.flush();
        return out.total();
      },
      detail::byteError);
}

}  // namespace serz
