#pragma once
#include <optional>
#include <string>
#include <string_view>

// Command lines for the converter and the image viewer. Every path is
// enclosed in double quotes; a path that itself contains a double quote
// cannot be quoted safely, and the builders then give nullopt.
namespace vantrel::pipeline {

inline constexpr std::string_view kConverterName = "serz.exe";

bool canQuote(std::string_view path);

// serz.exe "IN" xml:"OUT"
std::optional<std::string> binToXmlCommand(std::string_view binPath, std::string_view xmlPath);
// serz.exe "IN" bin:"OUT"
std::optional<std::string> xmlToBinCommand(std::string_view xmlPath, std::string_view binPath);
// "VIEWER" "IMAGE"
std::optional<std::string> viewerCommand(std::string_view viewerPath, std::string_view imagePath);

}  // namespace vantrel::pipeline
