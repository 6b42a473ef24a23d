#include "pipeline/UniFile.h"

#include "platform/core/Files.h"

namespace vantrel::pipeline {

bool readWholeFile(const std::string& path, std::string& text, std::string& errorText) {
  const auto failure = files::readWhole(path, text);
  if (!failure) return true;
  if (failure->kind != files::FileError::Kind::Missing) errorText = failure->reason;
  return false;
}

bool writeWholeFile(const std::string& path, std::string_view text, std::string& errorText) {
  const auto failure = files::replaceWhole(path, text);
  if (!failure) return true;
  errorText = failure->reason;
  return false;
}

std::string writeUniFileFailureText(std::string_view description, std::string_view path) {
  return std::string(description) + " occurred in WriteUniFile while processing\r\nfile " +
         std::string(path);
}

}  // namespace vantrel::pipeline
