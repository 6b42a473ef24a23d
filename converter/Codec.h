#pragma once
// The serz codec: the simulator's binary serialisation ("SERZ" files) to its
// XML dialect and back.
//
//   decode(bytes)  -> Document or Error (byte offset)
//   encode(doc)    -> bytes or Error
//   writeXml(doc)  -> XML text or Error
//   readXml(text)  -> Document or Error (line and column)
//
// binToXml and xmlToBin chain the steps. Nothing here touches files.

#include "converter/Document.h"
#include "converter/Result.h"

#include <string>
#include <string_view>

namespace serz {

// Elements nested deeper than this are refused: the XML indents one tab per
// level, so deep nesting would make the output grow with the square of it.
inline constexpr int kMaxDepth = 1000;

Result<Document> decode(std::string_view bin);  // the Document views into `bin`
Result<std::string> encode(const Document& doc);
Result<std::string> writeXml(const Document& doc);
Result<Document> readXml(std::string_view xml);

Result<std::string> binToXml(std::string_view bin);
Result<std::string> xmlToBin(std::string_view xml);

}  // namespace serz
