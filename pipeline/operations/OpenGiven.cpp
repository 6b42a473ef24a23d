#include <cctype>

#include "archive/ZipSignature.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/core/Files.h"

namespace vantrel::pipeline {

namespace {

bool hasBinExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".bin";
}

}  // namespace

bool isSerzFile(const std::string& path) {
  static constexpr std::string_view kSerzStart("SERZ\0\0\1\0", 8);
  std::string start;
  if (files::readStart(path, kSerzStart.size(), start)) return false;
  return start == kSerzStart;
}

Outcome openGivenFile(DocumentContext& ctx, const std::string& path) {
  // Packed content: both opens hand it to the archive picker.
  if (hasBinExtension(path) || (!archive::looksLikeZip(path) && isSerzFile(path)))
    return openBinFile(ctx, path);
  return viewOtherFile(ctx, path);
}

}  // namespace vantrel::pipeline
