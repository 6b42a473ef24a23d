#include "converter/Codec.h"

#include <string>

// xmlToBin lives with the XML reader: it streams records into the encoder.

namespace serz {

std::string Error::position() const {
    if (line > 0) return "line " + std::to_string(line) + ", column " + std::to_string(column);
    return "byte " + std::to_string(offset);
}

Result<std::string> binToXml(std::string_view bin) {
    auto doc = decode(bin);
    if (!doc) return doc.error();
    return writeXml(doc.value());
}

}  // namespace serz
