// XML text -> records, read in one pass over the text with a reader made for
// the converter's dialect. The text is taken a chunk at a time from a
// ByteSource (or as one view), and only the element being read is kept, so
// memory follows the records made, not the size of the XML.
//
// What it accepts is the XML the converter writes and what editing it
// usually produces: a prolog, comments, processing instructions, a document
// type declaration before the root, CDATA sections, the five predefined
// entity references and character references, attributes in either quote.
// Bytes inside text are taken as they are, NUL and other control characters
// included, as the simulator's converter writes them.
//
// Errors carry a byte offset; the line and column are worked out afterwards
// by reading the input again up to that offset.

#include "converter/BinEncoder.h"
#include "converter/ByteSource.h"
#include "converter/Codec.h"
#include "converter/Failure.h"
#include "converter/Names.h"
#include "converter/Quote.h"
#include "converter/StringIndex.h"
#include "converter/TextFormat.h"
#include "converter/Utf8.h"
#include "converter/ValueText.h"
#include "converter/XmlReferences.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace serz {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

bool isBlankText(std::string_view s) { return text::trim(s).empty(); }
bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Name characters as the XML reader used before took them: letters, '_',
// ':' and every byte from 0x80 up start a name; digits, '-' and '.' may
// follow. Whether a name suits the binary is checked apart (Names.h).
constexpr std::array<unsigned char, 256> kNameTable = [] {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const bool start =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
    const bool rest = start || (c >= '0' && c <= '9') || c == '-' || c == '.';
    t[c] = static_cast<unsigned char>((start ? 1 : 0) | (rest ? 2 : 0));
  }
  return t;
}();
// Short names compare faster byte by byte than through a call.
bool sameBytes(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

bool isNameStart(int c) { return c >= 0 && (kNameTable[c] & 1); }
bool isNameChar(int c) { return c >= 0 && (kNameTable[c] & 2); }

// The part of the input in memory: input offsets base_ .. base_ + size_.
class Window {
 public:
  static constexpr std::size_t kChunk = 4u << 20;

  explicit Window(std::string_view whole) : data_(whole.data()), size_(whole.size()) {}
  // `sizeHint`: the input's size if known (0 if not); a small input gets a
  // small window.
  Window(ByteSource& source, std::uint64_t sizeHint)
      : source_(&source),
        buf_(sizeHint && sizeHint < kChunk ? std::max<std::size_t>(sizeHint + 1, 4096) : kChunk,
             '\0') {
    data_ = buf_.data();
  }

  std::size_t end() const { return base_ + size_; }
  const char* ptr(std::size_t at) const { return data_ + (at - base_); }
  char operator[](std::size_t at) const { return data_[at - base_]; }

  // Reads more of the input, letting go of the bytes before `keep`. False
  // at the end of the input.
  bool more(std::size_t keep) {
    if (!source_ || ended_) return false;
    const std::size_t drop = keep - base_, kept = size_ - drop;
    if (kept * 2 > buf_.size()) {
      // One element larger than half the window: the window grows to hold it.
      std::string bigger(buf_.size() * 2, '\0');
      std::memcpy(bigger.data(), buf_.data() + drop, kept);
      buf_ = std::move(bigger);
    } else if (drop) {
      std::memmove(buf_.data(), buf_.data() + drop, kept);
    }
    data_ = buf_.data();
    base_ += drop;
    size_ = kept;
    const std::ptrdiff_t n = source_->read(buf_.data() + size_, buf_.size() - size_);
    if (n < 0) detail::fail(detail::kNoPosition, "the input could not be read");
    if (n == 0) {
      ended_ = true;
      return false;
    }
    size_ += static_cast<std::size_t>(n);
    return true;
  }

 private:
  const char* data_ = nullptr;
  std::size_t base_ = 0, size_ = 0;
  ByteSource* source_ = nullptr;
  std::string buf_;
  bool ended_ = false;
};

// Line and column (in characters) of a byte offset, from the text before
// it handed over in pieces that do not split a UTF-8 sequence. CR LF, LF
// and a lone CR each end a line. A line that is not valid UTF-8 up to the
// offset counts its column in bytes.
class Locator {
 public:
  void feed(std::string_view s) {
    std::size_t lineStart = 0;
    bool ended = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '\r' || (c == '\n' && !lastWasCr_)) ++line_;
      if (c == '\r' || c == '\n') {
        lineStart = i + 1;
        ended = true;
      }
      lastWasCr_ = c == '\r';
    }
    if (ended) {
      chars_ = bytes_ = 0;
      valid_ = true;
    }
    const std::string_view tail = s.substr(lineStart);
    bytes_ += tail.size();
    const std::int64_t n = utf8::countChars(tail);
    if (n < 0) valid_ = false;
    chars_ += n < 0 ? 0 : static_cast<std::uint64_t>(n);
  }
  int line() const { return line_; }
  int column() const { return 1 + static_cast<int>(valid_ ? chars_ : bytes_); }

 private:
  int line_ = 1;
  bool lastWasCr_ = false, valid_ = true;
  std::uint64_t chars_ = 0, bytes_ = 0;
};

Error locate(std::string_view whole, ByteSource* source, std::size_t offset) {
  Error e;
  e.at = Error::At::LineColumn;
  Locator where;
  if (!source) {
    e.offset = offset = std::min(offset, whole.size());
    where.feed(whole.substr(0, offset));
  } else {
    if (!source->restart()) {
      e.at = Error::At::Byte;
      e.offset = offset;
      return e;
    }
    std::string buf(64u << 10, '\0');
    std::size_t carried = 0, done = 0;  // bytes kept from the last piece, bytes fed
    while (done < offset) {
      const std::ptrdiff_t n = source->read(buf.data() + carried, buf.size() - carried);
      if (n <= 0) break;
      std::size_t have = carried + static_cast<std::size_t>(n);
      have = std::min(have, offset - done);
      // Keep back a UTF-8 sequence that may go on in the next piece.
      std::size_t cut = have;
      for (std::size_t back = 1; back <= 3 && back <= have; ++back) {
        const auto c = static_cast<unsigned char>(buf[have - back]);
        if (c >= 0xC0) {
          cut = have - back;
          break;
        }
        if (c < 0x80) break;
      }
      if (have == offset - done) cut = have;
      where.feed(std::string_view(buf.data(), cut));
      done += cut;
      carried = have - cut;
      std::memmove(buf.data(), buf.data() + cut, carried);
    }
    if (carried) where.feed(std::string_view(buf.data(), carried));
    e.offset = offset = std::min(offset, done + carried);
  }
  e.line = where.line();
  e.column = where.column();
  return e;
}

// Receives the records in document order as the reader makes them, each
// with the byte offset of its element. The child count of an open record is
// known only at its close, so add() returns a handle that setChildCount()
// uses to fill it in.
class NodeSink {
 public:
  virtual std::size_t add(const Node& node, std::size_t position) = 0;
  virtual void setChildCount(std::size_t handle, std::uint32_t count) = 0;
  // False once a string value seen for the first time need not be kept
  // past its record: the binary's string table is full, so it is written
  // out in full wherever it occurs.
  virtual bool keepsNewStrings() const = 0;

 protected:
  ~NodeSink() = default;
};

// Copies of strings, in blocks that never move, owned by the document.
class TextArena {
 public:
  explicit TextArena(std::deque<std::string>& blocks) : blocks_(blocks) {}
  std::string_view keep(std::string_view s) {
    if (!block_ || block_->capacity() - block_->size() < s.size()) {
      block_ = &blocks_.emplace_back();
      block_->reserve(std::max<std::size_t>(s.size(), 64u << 10));
    }
    const std::size_t at = block_->size();
    block_->append(s);
    return std::string_view(block_->data() + at, s.size());
  }

 private:
  std::deque<std::string>& blocks_;
  std::string* block_ = nullptr;
};

// A range of input offsets; an attribute's value, an element's name.
struct Span {
  std::size_t start = kNpos, end = kNpos;
  explicit operator bool() const { return start != kNpos; }
};

// The attributes the dialect gives meaning to.
enum Attr { kType, kId, kAltEncoding, kElementType, kNumElements, kSize, kAttrCount };

struct Tag {
  std::size_t lt = 0;  // the '<'
  Span name;
  std::size_t end = 0;  // just past the '>'
  bool empty = false;   // "/>"
  std::array<Span, kAttrCount> attr;
  NodeKind kind = NodeKind::Open;
  ValueType type = ValueType::Bool;
};

// A run of an element's character data: text, or a CDATA section's content.
struct Segment {
  std::size_t start, end;
  bool cdata;
};

class Reader {
 public:
  Reader(Window& in, Document& doc, NodeSink& sink)
      : in_(in), doc_(doc), sink_(sink), arena_(doc.ownedText) {}

  void run() {
    std::size_t i = startsWith(0, "\xEF\xBB\xBF") ? 3 : 0;  // a byte order mark
    i = outside(i, true);
    i = element(i);
    while (!stack_.empty()) i = content(i);
    outside(i, false);
  }

 private:
  // ---- access to the input -------------------------------------------

  bool have(std::size_t at) { return at < in_.end() || haveMore(at); }
  [[gnu::noinline]] bool haveMore(std::size_t at) {
    while (at >= in_.end())
      if (!in_.more(mark_)) return false;
    return true;
  }
  int peek(std::size_t at) {
    if (at < in_.end()) [[likely]]
      return static_cast<unsigned char>(in_[at]);
    return haveMore(at) ? static_cast<unsigned char>(in_[at]) : -1;
  }
  bool startsWith(std::size_t at, std::string_view s) {
    return have(at + s.size() - 1) && std::memcmp(in_.ptr(at), s.data(), s.size()) == 0;
  }
  // The first `c` at or after `from`, or npos.
  std::size_t find(char c, std::size_t from) {
    // Most searches end within a few bytes, sooner than a call would.
    for (const std::size_t near = std::min(from + 64, in_.end()); from < near; ++from)
      if (in_[from] == c) return from;
    while (true) {
      if (from < in_.end()) {
        const void* p = std::memchr(in_.ptr(from), c, in_.end() - from);
        if (p) return from + static_cast<std::size_t>(static_cast<const char*>(p) - in_.ptr(from));
        from = in_.end();
      }
      if (!in_.more(mark_)) return kNpos;
    }
  }
  std::size_t find(std::string_view s, std::size_t from) {
    while (true) {
      const std::size_t at = find(s[0], from);
      if (at == kNpos || startsWith(at, s)) return at;
      if (!have(at + s.size() - 1)) return kNpos;
      from = at + 1;
    }
  }
  std::string_view view(std::size_t from, std::size_t to) const {
    return std::string_view(in_.ptr(from), to - from);
  }
  std::string_view view(Span s) const { return view(s.start, s.end); }

  [[noreturn]] static void fail(std::size_t at, std::string reason) {
    detail::fail(at, std::move(reason));
  }
  [[noreturn]] static void malformed(std::size_t at, const char* what) {
    fail(at, std::string("malformed XML: ") + what);
  }

  // ---- markup outside and between elements ---------------------------

  // Past a comment, processing instruction or document type declaration
  // starting at `lt`; npos when `lt` starts none of them.
  std::size_t skipMarkup(std::size_t lt, bool doctypeAllowed) {
    if (startsWith(lt, "<?")) {
      const std::size_t close = find("?>", lt + 2);
      if (close == kNpos) malformed(lt, "Error parsing processing instruction");
      return close + 2;
    }
    if (startsWith(lt, "<!--")) {
      const std::size_t close = find("-->", lt + 4);
      if (close == kNpos) malformed(lt, "Error parsing comment");
      return close + 3;
    }
    if (startsWith(lt, "<!DOCTYPE")) {
      if (!doctypeAllowed) malformed(lt, "Error parsing document declaration/DTD");
      return doctypeEnd(lt + 9);
    }
    return kNpos;
  }

  // A document type declaration ends at the first '>' outside its
  // bracketed internal subset and outside quoted literals.
  std::size_t doctypeEnd(std::size_t i) {
    int depth = 0;
    char quote = 0;
    for (int c; (c = peek(i)) >= 0; ++i) {
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = static_cast<char>(c);
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        --depth;
      } else if (c == '>' && depth <= 0) {
        return i + 1;
      }
    }
    malformed(i, "Error parsing document declaration/DTD");
  }

  // The CDATA section at `lt` (known to start one): its content.
  Segment cdata(std::size_t lt) {
    const std::size_t close = find("]]>", lt + 9);
    if (close == kNpos) malformed(lt, "Error parsing CDATA section");
    return {lt + 9, close, true};
  }

  // Before the root (`before`) or after it: white space, comments,
  // processing instructions. Returns the root's '<'.
  std::size_t outside(std::size_t i, bool before) {
    while (true) {
      mark_ = i;
      const std::size_t run = i;
      int c;
      while (isSpace(c = peek(i))) ++i;
      if (c < 0) {
        if (!before) return i;
        const std::size_t end = in_.end();
        malformed(end ? end - 1 : 0, "No document element found");
      }
      if (c != '<') {
        const std::size_t lt = find('<', i);
        failText(run, lt == kNpos ? in_.end() : lt, "text outside the root element");
      }
      const std::size_t past = skipMarkup(i, true);
      if (past != kNpos) {
        i = past;
        continue;
      }
      if (startsWith(i, "<![CDATA[")) {
        const Segment s = cdata(i);
        if (!isBlankText(view(s.start, s.end))) fail(s.start, "text outside the root element");
        i = s.end + 3;
        continue;
      }
      const int next = peek(i + 1);
      if (isNameStart(next)) {
        if (before) return i;
        std::size_t e = i + 1;
        while (isNameChar(peek(e))) ++e;
        fail(i, "a second root element " + quoted(view(i + 1, e)));
      }
      if (next == '/') malformed(i + 2, "Start-end tags mismatch");
      malformed(i + 1, "Unrecognized tag");
    }
  }

  // Text where none may be, from `start` to `end`: a bad reference in it is
  // the first fault, else `reason` at its start.
  [[noreturn]] void failText(std::size_t start, std::size_t end, std::string reason) {
    scratch_.clear();
    decodeInto(scratch_, start, end, false);
    fail(start, std::move(reason));
  }

  // ---- tags ----------------------------------------------------------

  static int attrIndex(std::string_view name) {
    if (name.size() < 3 || name[0] != 'd' || name[1] != ':') return -1;
    const std::string_view rest = name.substr(2);
    switch (rest[0]) {  // one comparison per attribute instead of six
      case 't':
        return rest == "type" ? kType : -1;
      case 'i':
        return rest == "id" ? kId : -1;
      case 'a':
        return rest == "alt_encoding" ? kAltEncoding : -1;
      case 'e':
        return rest == "elementType" ? kElementType : -1;
      case 'n':
        return rest == "numElements" ? kNumElements : -1;
      case 's':
        return rest == "size" ? kSize : -1;
      default:
        return -1;
    }
  }

  // The start tag at `lt`, whose next byte starts a name.
  Tag startTag(std::size_t lt) {
    Tag tag;
    tag.lt = lt;
    std::size_t i = lt + 1;
    while (isNameChar(peek(i))) ++i;
    tag.name = {lt + 1, i};
    while (true) {
      int c = peek(i);
      if (isSpace(c)) {
        ++i;
        continue;
      }
      if (c == '>') {
        tag.end = i + 1;
        break;
      }
      if (c == '/') {
        if (peek(i + 1) != '>') malformed(i, "Error parsing start element tag");
        tag.end = i + 2;
        tag.empty = true;
        break;
      }
      if (!isNameStart(c)) malformed(i, "Error parsing start element tag");
      const std::size_t nameStart = i;
      while (isNameChar(peek(i))) ++i;
      const std::size_t nameEnd = i;
      while (isSpace(peek(i))) ++i;
      if (peek(i) != '=') malformed(i, "Error parsing attributes");
      ++i;
      while (isSpace(c = peek(i))) ++i;
      if (c != '"' && c != '\'') malformed(i, "Error parsing attributes");
      const std::size_t valueStart = i + 1, valueEnd = find(static_cast<char>(c), valueStart);
      if (valueEnd == kNpos) malformed(in_.end(), "Error parsing attributes");
      i = valueEnd + 1;
      c = peek(i);
      if (c != '/' && c != '>' && !isSpace(c)) malformed(i, "Error parsing attributes");
      const int index = attrIndex(view(nameStart, nameEnd));
      if (index >= 0) {
        tag.attr[index] = {valueStart, valueEnd};
      } else if (std::memchr(in_.ptr(valueStart), '&', valueEnd - valueStart)) {
        scratch_.clear();
        decodeInto(scratch_, valueStart, valueEnd, false);  // only its references checked
      }
    }
    return tag;
  }

  // An attribute's value with its references and line ends decoded.
  std::string_view attr(const Tag& tag, Attr which) {
    const Span s = tag.attr[which];
    const std::string_view raw = view(s);
    if (raw.find_first_of("&\r") == kNpos) return raw;
    std::string& out = attrText_[which];
    out.clear();
    decodeInto(out, s.start, s.end, false);
    return out;
  }

  // The end tag at `lt` ("</"), which must close the element named `name`
  // (kept apart from the input, or a span of it); returns its end.
  std::size_t endTag(std::size_t lt, std::string_view name) { return endTag(lt, name, {}); }
  std::size_t endTag(std::size_t lt, Span name) { return endTag(lt, {}, name); }
  std::size_t endTag(std::size_t lt, std::string_view kept, Span span) {
    std::size_t i = lt + 2;
    while (isNameChar(peek(i))) ++i;
    // Looked at only now: reading on may have moved the window.
    const std::string_view name = span ? view(span) : kept;
    if (i - (lt + 2) != name.size() || !sameBytes(in_.ptr(lt + 2), name.data(), name.size()))
      malformed(lt + 2, "Start-end tags mismatch");
    int c;
    while (isSpace(c = peek(i))) ++i;
    if (c != '>') malformed(i, "Error parsing end element tag");
    return i + 1;
  }

  // ---- references and line ends -----------------------------------------

  static void appendUtf8(std::string& out, std::uint32_t code) {
    // Surrogates are encoded like other code points; the UTF-8 check of
    // strings then refuses them.
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  static std::uint32_t codeOf(std::string_view digits, bool hex) {
    std::uint32_t code = 0;
    for (char c : digits)
      code = code * (hex ? 16u : 10u) +
             static_cast<std::uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return code;
  }

  // Appends the text from `start` to `end` with references (unless CDATA)
  // and line ends (CR LF and a lone CR become LF) decoded.
  void decodeInto(std::string& out, std::size_t start, std::size_t end, bool isCdata) {
    const std::string_view raw = view(start, end);
    std::size_t plain = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const char c = raw[i];
      if (c == '\r') {
        out.append(raw, plain, i - plain);
        out += '\n';
        if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
        plain = i + 1;
      } else if (c == '&' && !isCdata) {
        std::string why = xmlrefs::problemAt(raw, i);
        if (!why.empty()) fail(start + i, std::move(why));
        out.append(raw, plain, i - plain);
        const std::size_t semi = raw.find(';', i);
        const std::string_view name = raw.substr(i + 1, semi - i - 1);
        if (name[0] == '#') {
          const bool hex = name.size() > 1 && name[1] == 'x';
          appendUtf8(out, codeOf(name.substr(hex ? 2 : 1), hex));
        } else {
          out += name == "amp"    ? '&'
                 : name == "lt"   ? '<'
                 : name == "gt"   ? '>'
                 : name == "quot" ? '"'
                                  : '\'';
        }
        i = semi;
        plain = i + 1;
      }
    }
    out.append(raw, plain, raw.size() - plain);
  }

  static std::size_t utf8Length(std::uint32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  }

  // ---- element text --------------------------------------------------

  // Reads a leaf's content up to its end tag into segments_; returns the
  // end tag's end. A child element is refused.
  std::size_t leafContent(const Tag& tag) {
    segments_.clear();
    simpleText_ = false;
    std::size_t i = tag.end;
    while (true) {
      const std::size_t lt = find('<', i);
      if (lt == kNpos) malformed(in_.end(), "Start-end tags mismatch");
      if (lt > i) segments_.push_back({i, lt, false});
      const int next = peek(lt + 1);
      if (next == '/') return endTag(lt, tag.name);
      if (startsWith(lt, "<![CDATA[")) {
        segments_.push_back(cdata(lt));
        i = segments_.back().end + 3;
        continue;
      }
      const std::size_t past = skipMarkup(lt, false);
      if (past != kNpos) {
        i = past;
        continue;
      }
      if (!isNameStart(next)) malformed(lt + 1, "Unrecognized tag");
      std::size_t e = lt + 1;
      while (isNameChar(peek(e))) ++e;
      if (tag.kind == NodeKind::Nil) {
        requireNoText(tag);
        fail(lt, "element " + quoted(view(lt + 1, e)) + " inside " + quoted(view(tag.name)) +
                     ", which holds no children");
      }
      fail(lt, "element " + quoted(view(lt + 1, e)) + " inside " + quoted(view(tag.name)) +
                   ", which holds a value");
    }
  }

  // The element's text, joined from its segments. White-space-only text
  // beside comments or CDATA is dropped, as the XML reader used before did;
  // white space alone is kept.
  std::string_view leafText() {
    if (segments_.size() > 1) {
      std::erase_if(segments_, [&](const Segment& s) {
        return !s.cdata && isBlankText(view(s.start, s.end));
      });
    }
    if (segments_.empty()) return std::string_view("", 0);  // never a null pointer
    if (segments_.size() == 1) {
      const Segment& s = segments_[0];
      const std::string_view raw = view(s.start, s.end);
      if (raw.find_first_of(s.cdata ? "\r" : "&\r") == kNpos) {
        simpleText_ = true;
        return raw;
      }
    }
    simpleText_ = false;
    text_.clear();
    for (const Segment& s : segments_) decodeInto(text_, s.start, s.end, s.cdata);
    return text_;
  }

  // Input offset of byte `index` of the text leafText() returned: references
  // and CR LF pairs shrank while it was decoded, so the input is walked
  // again (only to report an error).
  std::size_t textOffset(std::size_t index) const {
    if (segments_.empty()) return leafAt_;
    if (simpleText_) return segments_[0].start + index;
    std::size_t produced = 0, o = segments_[0].start;
    for (const Segment& s : segments_) {
      o = s.start;
      while (produced < index && o < s.end) {
        const char c = in_[o];
        if (c == '&' && !s.cdata) {
          const std::size_t semi = view(o, s.end).find(';') + o;
          const std::string_view ref = view(o + 1, semi);
          produced += ref.starts_with('#')
                          ? utf8Length(codeOf(ref.substr(ref.size() > 1 && ref[1] == 'x' ? 2 : 1),
                                              ref.size() > 1 && ref[1] == 'x'))
                          : 1;
          o = semi + 1;
        } else {
          o += c == '\r' && o + 1 < s.end && in_[o + 1] == '\n' ? 2 : 1;
          ++produced;
        }
      }
      if (produced >= index) return o;
    }
    return o;
  }

  // Byte `index` of the element's text, worked out only when asked.
  class TextPlace final : public valuetext::Where {
   public:
    TextPlace(const Reader& reader, std::size_t index) : reader_(reader), index_(index) {}
    std::size_t offset() const override { return reader_.textOffset(index_); }

   private:
    const Reader& reader_;
    std::size_t index_;
  };

  void requireNoText(const Tag& tag) {
    for (const Segment& s : segments_)
      if (!isBlankText(view(s.start, s.end))) {
        std::string why = "text inside " + quoted(view(tag.name)) + ", which holds no value";
        if (!s.cdata) failText(s.start, s.end, std::move(why));
        fail(s.start, std::move(why));
      }
  }

  // ---- strings -------------------------------------------------------

  std::uint32_t intern(std::string_view s) {
    const std::uint64_t h = StringIndex::hash(s);
    const std::uint32_t found = strings_.find(s, h);
    if (found != StringIndex::kAbsent) return found;
    const auto index = static_cast<std::uint32_t>(doc_.strings.size());
    const std::string_view kept = arena_.keep(s);
    strings_.insert(kept, h, index);
    doc_.strings.push_back(kept);
    return index;
  }

  // `index`: where the string starts in the element's text.
  std::uint32_t internText(std::string_view s, std::size_t index) {
    const std::size_t bad = utf8::firstInvalid(s);
    if (bad != kNpos) fail(textOffset(index + bad), "text is not valid UTF-8");
    return intern(s);
  }

  // A string value: interned, or, when the sink needs new strings only for
  // the record at hand, lent through one reused entry of the table, so that
  // memory does not grow with the number of distinct strings.
  std::uint32_t valueText(std::string_view s) {
    const std::size_t bad = utf8::firstInvalid(s);
    if (bad != kNpos) fail(textOffset(bad), "text is not valid UTF-8");
    const std::uint64_t h = StringIndex::hash(s);
    const std::uint32_t found = strings_.find(s, h);
    if (found != StringIndex::kAbsent) return found;
    if (sink_.keepsNewStrings()) return intern(s);
    if (lent_ == kNoString) {
      lent_ = static_cast<std::uint32_t>(doc_.strings.size());
      doc_.strings.emplace_back();
    }
    doc_.strings[lent_] = s;
    return lent_;
  }

  struct XmlName {
    std::string_view spelling;  // as the XML writes it
    std::uint32_t string;       // the binary name's string index
  };

  const XmlName& elementName(const Tag& tag) {
    const std::string_view xmlName = view(tag.name);
    const std::uint64_t h = StringIndex::hash(xmlName);
    const std::uint32_t found = names_.find(xmlName, h);
    if (found != StringIndex::kAbsent) return xmlNames_[found];
    if (utf8::firstInvalid(xmlName) != kNpos) fail(tag.lt, "element name is not valid UTF-8");
    if (xmlName.starts_with("d:")) fail(tag.lt, "unknown element " + quoted(xmlName));
    std::uint32_t index;
    if (names::needsRewrite(xmlName)) {
      std::string binary = names::toBinaryName(xmlName);
      std::string why = names::whyNotXmlName(binary);
      if (!why.empty()) fail(tag.lt, "element " + quoted(xmlName) + ": " + why);
      index = intern(binary);
    } else {
      std::string why = names::whyNotXmlName(xmlName);
      if (!why.empty()) fail(tag.lt, why);
      index = intern(xmlName);
    }
    const std::string_view kept = arena_.keep(xmlName);
    names_.insert(kept, h, static_cast<std::uint32_t>(xmlNames_.size()));
    return xmlNames_.emplace_back(XmlName{kept, index});
  }

  void noteType(ValueType type) {
    auto& known = doc_.typeString[static_cast<int>(type)];
    if (known == kNoString) known = intern(typeName(type));
  }

  // ---- classification ------------------------------------------------

  void classify(Tag& tag) {
    const std::string_view name = view(tag.name);
    if (name == "d:nil") {
      tag.kind = NodeKind::Nil;
      return;
    }
    if (name == "d:blob") {
      tag.kind = NodeKind::Blob;
      if (!tag.attr[kSize]) fail(tag.lt, "d:blob without a d:size attribute");
      return;
    }
    if (tag.attr[kType]) {
      const std::string_view t = text::trim(attr(tag, kType));
      if (t == "ref") {
        tag.kind = NodeKind::Ref;
      } else {
        const auto type = typeFromName(t);
        if (!type) fail(tag.attr[kType].start, "unknown type name " + quoted(t));
        tag.kind = NodeKind::Value;
        tag.type = *type;
      }
    } else if (tag.attr[kElementType]) {
      const std::string_view t = text::trim(attr(tag, kElementType));
      const auto type = typeFromName(t);
      if (!type) fail(tag.attr[kElementType].start, "unknown type name " + quoted(t));
      if (!tag.attr[kNumElements]) fail(tag.lt, "array " + quoted(name) + " without d:numElements");
      tag.kind = NodeKind::Array;
      tag.type = *type;
    }
  }

  std::uint64_t attributeNumber(const Tag& tag, Attr which, std::uint64_t max,
                                std::string_view what) {
    return valuetext::unsignedNumber(attr(tag, which), max, what,
                                     valuetext::At(tag.attr[which].start));
  }

  // ---- leaves --------------------------------------------------------

  Node value(const Tag& tag, std::uint32_t name) {
    noteType(tag.type);
    const std::string_view s = leafText();
    const TextPlace place(*this, 0);
    if (isString(tag.type)) return Node::value(name, tag.type, valueText(s));
    if (isFloat(tag.type)) {
      std::optional<valuetext::AltEncoding> alt;
      if (tag.attr[kAltEncoding])
        alt = valuetext::AltEncoding{attr(tag, kAltEncoding), tag.attr[kAltEncoding].start};
      return Node::value(name, tag.type, valuetext::floatValue(tag.type, s, place, alt));
    }
    return Node::value(name, tag.type, valuetext::scalar(tag.type, s, place));
  }

  Node array(const Tag& tag, std::uint32_t name) {
    noteType(tag.type);
    const auto count = static_cast<std::uint32_t>(
        attributeNumber(tag, kNumElements, 255, "d:numElements (0 to 255)"));
    const std::string_view s = leafText();
    const Node node = Node::array(name, tag.type, count, doc_.elements.size());
    std::size_t i = 0, found = 0;
    while (true) {
      while (i < s.size() && text::isBlank(s[i])) ++i;
      if (i == s.size()) break;
      const std::size_t start = i;
      while (i < s.size() && !text::isBlank(s[i])) ++i;
      if (++found > count) break;
      const std::string_view item = s.substr(start, i - start);
      doc_.elements.push_back(isString(tag.type)
                                  ? internText(item, start)
                                  : valuetext::scalar(tag.type, item, TextPlace(*this, start)));
    }
    if (found != count)
      fail(textOffset(0), "d:numElements says " + std::to_string(count) + " but the text holds " +
                              (found > count ? "more" : std::to_string(found)) + " values");
    return node;
  }

  Node blob(const Tag& tag) {
    const std::uint64_t size = attributeNumber(tag, kSize, 0xFFFFFFFF, "d:size");
    const std::string_view s = leafText();
    std::string bytes;
    bytes.reserve(std::min<std::uint64_t>(size, s.size() / 2));
    int high = -1;
    std::size_t highAt = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const int d = text::hexDigit(s[i]);
      if (d < 0) {
        if (text::isBlank(s[i])) continue;
        fail(textOffset(i), "blob data holds a character that is not a hex digit");
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
      fail(textOffset(highAt), "blob data ends with half a byte");
    if (bytes.size() != size)
      fail(textOffset(0), "d:size says " + std::to_string(size) + " bytes but the data holds " +
                              (bytes.size() > size ? "more" : std::to_string(bytes.size())));
    return Node::blob(doc_.addOwnedBlob(std::move(bytes)));
  }

  // The record for a leaf element (anything but an element with children).
  Node leaf(const Tag& tag) {
    switch (tag.kind) {
      case NodeKind::Value:
        return value(tag, elementName(tag).string);
      case NodeKind::Array:
        return array(tag, elementName(tag).string);
      case NodeKind::Ref: {
        const std::uint32_t name = elementName(tag).string;
        return Node::ref(name, valuetext::id32(leafText(), "ref", TextPlace(*this, 0)));
      }
      case NodeKind::Nil:
        requireNoText(tag);
        return Node::nil();
      case NodeKind::Blob:
        return blob(tag);
      case NodeKind::Open:
      case NodeKind::Prefix:
      case NodeKind::Close:
        break;
    }
    return Node::nil();  // not reached: classify() gives only the kinds above
  }

  // ---- the walk ------------------------------------------------------

  struct Open {
    std::string_view xmlName;
    std::uint32_t name;
    std::size_t handle;      // for the child count
    std::uint32_t children;  // counted so far, every kind of child
    std::size_t at;          // the start tag's '<'
  };

  // The element whose start tag is at `lt`: a leaf is read whole, an
  // element with children is opened. Returns where reading goes on.
  std::size_t element(std::size_t lt) {
    mark_ = lt;
    Tag tag = startTag(lt);
    classify(tag);
    if (stack_.empty() && tag.kind != NodeKind::Open)
      fail(lt, "the root element " + quoted(view(tag.name)) + " must hold elements, not a value");
    if (!stack_.empty()) ++stack_.back().children;
    if (tag.kind != NodeKind::Open) {
      segments_.clear();
      const std::size_t end = tag.empty ? tag.end : leafContent(tag);
      leafAt_ = lt;
      sink_.add(leaf(tag), lt);
      return end;
    }
    const XmlName& name = elementName(tag);
    const std::uint32_t id =
        tag.attr[kId] ? valuetext::id32(attr(tag, kId), "d:id", valuetext::At(tag.attr[kId].start))
                      : 0;
    if (stack_.size() >= static_cast<std::size_t>(kMaxDepth))
      fail(lt, "elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
    const std::size_t handle = sink_.add(Node::open(name.string, id, 0), lt);
    if (tag.empty) {
      sink_.add(Node::close(name.string), lt);
    } else {
      stack_.push_back({name.spelling, name.string, handle, 0, lt});
    }
    return tag.end;
  }

  // Reads on inside the innermost open element from `i`: white space,
  // comments and processing instructions, up to a child element or the
  // end tag.
  std::size_t content(std::size_t i) {
    while (true) {
      mark_ = i;
      std::size_t t = i;
      int c;
      while (isSpace(c = peek(t))) ++t;
      if (c < 0) malformed(t, "Start-end tags mismatch");
      const Open& open = stack_.back();
      if (c != '<') {
        const std::size_t lt = find('<', t);
        failText(i, lt == kNpos ? in_.end() : lt,
                 "text inside " + quoted(open.xmlName) + ", which holds other elements");
      }
      const int next = peek(t + 1);
      if (isNameStart(next)) return element(t);
      if (next == '/') {
        const std::size_t end = endTag(t, open.xmlName);
        sink_.setChildCount(open.handle, open.children);
        sink_.add(Node::close(open.name), open.at);
        stack_.pop_back();
        return end;
      }
      if (startsWith(t, "<![CDATA[")) {
        const Segment s = cdata(t);
        if (!isBlankText(view(s.start, s.end)))
          fail(s.start, "text inside " + quoted(open.xmlName) + ", which holds other elements");
        i = s.end + 3;
        continue;
      }
      const std::size_t past = skipMarkup(t, false);
      if (past == kNpos) malformed(t + 1, "Unrecognized tag");
      i = past;
    }
  }

  Window& in_;
  Document& doc_;
  NodeSink& sink_;
  TextArena arena_;
  std::size_t mark_ = 0;  // the first input byte still needed
  std::vector<Open> stack_;
  std::vector<Segment> segments_;
  std::size_t leafAt_ = 0;   // the '<' of the leaf being read
  bool simpleText_ = false;  // leafText() is its one segment, undecoded
  std::string text_, scratch_;
  std::array<std::string, kAttrCount> attrText_;
  StringIndex strings_;  // binary content -> index
  StringIndex names_;    // XML spelling -> index in xmlNames_
  std::vector<XmlName> xmlNames_;
  std::uint32_t lent_ = kNoString;  // the entry valueText() lends, once needed
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
  bool keepsNewStrings() const override { return true; }

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
  bool keepsNewStrings() const override { return !encoder_.tableFull(); }
  std::string finish() { return encoder_.finish(); }

 private:
  Document& doc_;
  BinEncoder encoder_;
};

// Reads `in` into the binary; errors get their line and column from `whole`
// or, when reading from `source`, by reading it again.
Result<std::string> toBinary(Window& in, std::string_view whole, ByteSource* source,
                             std::size_t reserveBytes) {
  Document doc;
  return detail::guarded<std::string>(
      [&] {
        EncodingSink sink(doc, reserveBytes);
        Reader(in, doc, sink).run();
        return sink.finish();
      },
      [&](const detail::Failure& f) {
        Error e = locate(whole, source, f.position);
        e.reason = f.reason;
        return e;
      });
}

}  // namespace

Result<Document> readXml(std::string_view xml) {
  Document doc;
  Window in(xml);
  return detail::guarded<Document>(
      [&] {
        CollectingSink sink(doc);
        doc.nodes.reserve(xml.size() / 32 + 16);  // about 40 bytes of XML a record
        Reader(in, doc, sink).run();
        return std::move(doc);
      },
      [&](const detail::Failure& f) {
        Error e = locate(xml, nullptr, f.position);
        e.reason = f.reason;
        return e;
      });
}

Result<std::string> xmlToBin(std::string_view xml) {
  Window in(xml);
  return toBinary(in, xml, nullptr, xml.size() / 4);
}

Result<std::string> xmlToBin(ByteSource& xml, std::uint64_t sizeHint) {
  Window in(xml, sizeHint);
  return toBinary(in, {}, &xml, static_cast<std::size_t>(sizeHint / 4));
}

}  // namespace serz
