#pragma once
#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Conversions between Qt's text and the program's 8-bit texts.
namespace vantrel::platform {

// The editor's 8-bit encoding (Windows-1252). nullopt when a character has
// no byte in it (such a text can never occur in the editor).
std::optional<std::string> toEditorBytes(const QString& text);
QString fromEditorBytes(std::string_view bytes);

// Paths: the file system's own 8-bit encoding (QFile::encodeName).
std::string toNativePath(const QString& path);
QString fromNativePath(std::string_view path);

}  // namespace vantrel::platform
