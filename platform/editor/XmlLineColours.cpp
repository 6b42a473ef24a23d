#include "platform/editor/XmlLineColours.h"

namespace vantrel::platform {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isNameChar(char c) {
  return !isSpace(c) && c != '>' && c != '/' && c != '=' && c != '"' && c != '\'' && c != '<';
}

class LineColourer {
 public:
  LineColourer(std::string_view line, std::vector<XmlColourRun>& runs) : line_(line), runs_(runs) {}

  XmlContext run(XmlContext context) {
    while (at_ < line_.size()) {
      switch (context) {
        case XmlContext::Text:
          context = text();
          break;
        case XmlContext::Tag:
          context = tag();
          break;
        case XmlContext::DoubleQuoted:
          context = quoted('"', XmlContext::DoubleQuoted);
          break;
        case XmlContext::SingleQuoted:
          context = quoted('\'', XmlContext::SingleQuoted);
          break;
        case XmlContext::Comment:
          context = until("-->", XmlColour::Comment, XmlContext::Comment);
          break;
        case XmlContext::CData:
          context = until("]]>", XmlColour::CData, XmlContext::CData);
          break;
        case XmlContext::Declaration:
          context = until(">", XmlColour::Declaration, XmlContext::Declaration);
          break;
      }
    }
    return context;
  }

 private:
  void add(std::size_t from, std::size_t to, XmlColour colour) {
    if (to <= from) return;
    if (!runs_.empty() && runs_.back().colour == colour &&
        runs_.back().start + runs_.back().length == from) {
      runs_.back().length += to - from;
      return;
    }
    runs_.push_back({from, to - from, colour});
  }

  bool startsWith(std::string_view prefix) const { return line_.substr(at_).starts_with(prefix); }

  XmlContext text() {
    const std::size_t next = line_.find_first_of("<&", at_);
    if (next == std::string_view::npos) {
      at_ = line_.size();
      return XmlContext::Text;
    }
    at_ = next;
    if (line_[at_] == '&') {
      // An entity or character reference: up to its ';', when it is near.
      const std::size_t end = line_.find(';', at_);
      const std::size_t stop = end != std::string_view::npos && end - at_ <= 32 ? end + 1 : at_ + 1;
      add(at_, stop, XmlColour::Entity);
      at_ = stop;
      return XmlContext::Text;
    }
    if (startsWith("<!--")) return open(4, XmlColour::Comment, XmlContext::Comment);
    if (startsWith("<![CDATA[")) return open(9, XmlColour::CData, XmlContext::CData);
    if (startsWith("<?") || startsWith("<!"))
      return open(2, XmlColour::Declaration, XmlContext::Declaration);
    // A start or end tag: the bracket, the slash and the name.
    const std::size_t from = at_;
    ++at_;
    if (at_ < line_.size() && line_[at_] == '/') ++at_;
    while (at_ < line_.size() && isNameChar(line_[at_])) ++at_;
    add(from, at_, XmlColour::Tag);
    return XmlContext::Tag;
  }

  XmlContext open(std::size_t opener, XmlColour colour, XmlContext inside) {
    add(at_, at_ + opener, colour);
    at_ += opener;
    return inside;
  }

  XmlContext tag() {
    const char c = line_[at_];
    if (c == '>') {
      add(at_, at_ + 1, XmlColour::Tag);
      ++at_;
      return XmlContext::Text;
    }
    if (c == '/' && at_ + 1 < line_.size() && line_[at_ + 1] == '>') {
      add(at_, at_ + 2, XmlColour::Tag);
      at_ += 2;
      return XmlContext::Text;
    }
    if (c == '"' || c == '\'') {
      add(at_, at_ + 1, XmlColour::Value);
      ++at_;
      return c == '"' ? XmlContext::DoubleQuoted : XmlContext::SingleQuoted;
    }
    if (c == '<') return XmlContext::Text;  // a tag left open: the next one starts
    if (isNameChar(c)) {
      const std::size_t from = at_;
      while (at_ < line_.size() && isNameChar(line_[at_])) ++at_;
      add(from, at_, XmlColour::Attribute);
      return XmlContext::Tag;
    }
    ++at_;  // spaces, '=', a stray '/'
    return XmlContext::Tag;
  }

  XmlContext quoted(char quote, XmlContext inside) {
    const std::size_t end = line_.find(quote, at_);
    const std::size_t stop = end == std::string_view::npos ? line_.size() : end + 1;
    add(at_, stop, XmlColour::Value);
    at_ = stop;
    return end == std::string_view::npos ? inside : XmlContext::Tag;
  }

  XmlContext until(std::string_view closer, XmlColour colour, XmlContext inside) {
    const std::size_t end = line_.find(closer, at_);
    const std::size_t stop = end == std::string_view::npos ? line_.size() : end + closer.size();
    add(at_, stop, colour);
    at_ = stop;
    return end == std::string_view::npos ? inside : XmlContext::Text;
  }

  std::string_view line_;
  std::vector<XmlColourRun>& runs_;
  std::size_t at_ = 0;
};

}  // namespace

XmlContext colourXmlLine(std::string_view line, XmlContext context,
                         std::vector<XmlColourRun>& runs) {
  return LineColourer(line, runs).run(context);
}

}  // namespace vantrel::platform
