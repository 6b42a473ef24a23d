#include "pipeline/operations/WrittenBinCheck.h"

#include "converter/Codec.h"
#include "platform/core/Files.h"

namespace vantrel::pipeline {

namespace {
BinCheck& checkOverride() {
  static BinCheck check;
  return check;
}
}  // namespace

std::optional<std::string> whyNotWholeBin(const std::string& path) {
  std::string bytes;
  if (const auto error = files::readWhole(path, bytes))
    return "could not be read back (" + error->reason + ")";
  const serz::Result<serz::Document> decoded = serz::decode(bytes);
  if (!decoded) return "is not in the simulator's format (" + decoded.error().message() + ")";
  return std::nullopt;
}

void setBinCheckForTests(BinCheck check) { checkOverride() = std::move(check); }

std::optional<std::string> checkWrittenBin(const std::string& path) {
  if (checkOverride()) return checkOverride()(path);
  return whyNotWholeBin(path);
}

}  // namespace vantrel::pipeline
