#include "archive/ZipSignature.h"

#include "platform/core/Files.h"

namespace vantrel::archive {

bool startsLikeZip(std::string_view firstBytes) {
  using namespace std::string_view_literals;
  return firstBytes.starts_with("PK\x03\x04"sv) || firstBytes.starts_with("PK\x05\x06"sv);
}

bool looksLikeZip(const std::string& path) {
  std::string start;
  if (files::readStart(path, 4, start)) return false;
  return startsLikeZip(start);
}

}  // namespace vantrel::archive
