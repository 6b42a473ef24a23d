#pragma once
// Writes records as XML text in the converter's dialect, one at a time, so
// the text can be handed on as it is made. One element per line, one tab per
// level, CR LF line ends.
//
// Throws detail::Failure at the position the caller gives with each record.

#include "converter/Document.h"
#include "converter/OutBuf.h"

#include <cstddef>
#include <vector>

namespace serz {

class XmlEmitter {
 public:
  // `doc` supplies the strings, elements and blobs the records refer to.
  XmlEmitter(const Document& doc, OutBuf& out);

  void write(const Node& n, std::size_t position);
  // Checks that every element was closed.
  void finish(std::size_t position);

 private:
  [[noreturn]] void fail(std::string reason) const;
  void indent() { out_.repeat('\t', depth_); }
  void name(std::uint32_t index);
  void closeTag(std::uint32_t name);
  void openTag(const Node& n);
  void escaped(std::string_view s);
  void stringValue(std::uint64_t index);
  void scalarText(ValueType type, std::uint64_t v);
  void value(const Node& n);
  void array(const Node& n);
  void blob(const Node& n);

  const Document& doc_;
  OutBuf& out_;
  std::vector<bool> nameChecked_;
  std::size_t depth_ = 0;
  std::size_t position_ = 0;
  bool rootWritten_ = false;
  bool openPending_ = false;  // an open tag waits for its '>' or "/>"
};

}  // namespace serz
