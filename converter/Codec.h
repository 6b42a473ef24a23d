#pragma once
// The serz codec: the simulator's binary serialisation ("SERZ" files) to its
// XML dialect and back.
//
//   decode(bytes)  -> Document or Error (byte offset)
//   encode(doc)    -> bytes or Error (record index)
//   writeXml(doc)  -> XML text or Error (record index)
//   readXml(text)  -> Document or Error (line and column)
//
// binToXml and xmlToBin chain the steps. Nothing here touches files.

#include "converter/ByteSink.h"
#include "converter/ByteSource.h"
#include "converter/Document.h"
#include "converter/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace serz {

// Elements nested deeper than this are refused.
inline constexpr int kMaxDepth = 1000;

Result<Document> decode(std::string_view bin);  // the Document views into `bin`
Result<std::string> encode(const Document& doc);
Result<std::string> writeXml(const Document& doc);
Result<Document> readXml(std::string_view xml);

Result<std::string> binToXml(std::string_view bin);
Result<std::string> xmlToBin(std::string_view xml);
// xmlToBin that takes the XML from `xml` a few megabytes at a time, so
// memory follows the binary made, not the XML. `sizeHint` (the XML's size,
// or 0) only sizes the output buffer. The line and column of an error are
// found by reading `xml` again from its start.
Result<std::string> xmlToBin(ByteSource& xml, std::uint64_t sizeHint);

// binToXml that hands the XML to `sink` as it is made, about a megabyte at a
// time, so memory stays bounded by the input however large the XML grows
// (deep nesting repeats its indentation on every line). Returns the number
// of bytes written. After an error part of the XML may have been written;
// when the sink refused bytes, the error has no position and the sink knows
// why.
Result<std::uint64_t> binToXml(std::string_view bin, ByteSink& sink);

}  // namespace serz
