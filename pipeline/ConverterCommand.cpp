#include "pipeline/ConverterCommand.h"

namespace vantrel::pipeline {

namespace {

constexpr char Q = '"';

std::string quoted(std::string_view path) {
  std::string out;
  out.reserve(path.size() + 2);
  out += Q;
  out += path;
  out += Q;
  return out;
}

std::optional<std::string> converterCommand(std::string_view in, std::string_view direction,
                                            std::string_view out) {
  if (!canQuote(in) || !canQuote(out)) return std::nullopt;
  return std::string(kConverterName) + " " + quoted(in) + " " + std::string(direction) + ":" +
         quoted(out);
}

}  // namespace

// A quote would end the quoted path early, and a NUL byte would cut the
// command line short: neither can be passed safely.
bool canQuote(std::string_view path) {
  return path.find('"') == std::string_view::npos && path.find('\0') == std::string_view::npos;
}

std::optional<std::string> binToXmlCommand(std::string_view binPath, std::string_view xmlPath) {
  return converterCommand(binPath, "xml", xmlPath);
}

std::optional<std::string> xmlToBinCommand(std::string_view xmlPath, std::string_view binPath) {
  return converterCommand(xmlPath, "bin", binPath);
}

std::optional<std::string> viewerCommand(std::string_view viewerPath, std::string_view imagePath) {
  if (!canQuote(viewerPath) || !canQuote(imagePath)) return std::nullopt;
  return quoted(viewerPath) + " " + quoted(imagePath);
}

}  // namespace vantrel::pipeline
