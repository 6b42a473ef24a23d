#include "converter/Codec.h"

#include <string>

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

Result<std::string> xmlToBin(std::string_view xml) {
    auto doc = readXml(xml);
    if (!doc) return doc.error();
    return encode(doc.value());
}

}  // namespace serz
