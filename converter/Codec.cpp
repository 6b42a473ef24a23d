#include "converter/Codec.h"

#include <string>

// binToXml lives with the XML writer and xmlToBin with the XML reader: each
// streams records from one side to the other.

namespace serz {

std::string Error::position() const {
  switch (at) {
    case At::Nowhere:
      return {};
    case At::Byte:
      return "byte " + std::to_string(offset);
    case At::LineColumn:
      return "line " + std::to_string(line) + ", column " + std::to_string(column);
    case At::Record:
      return "record " + std::to_string(record);
  }
  return {};
}

std::string Error::message() const {
  const std::string where = position();
  return where.empty() ? reason : where + ": " + reason;
}

}  // namespace serz
