#pragma once
#include <QString>
#include <string>
#include <string_view>

// Conversions between Qt's text and the program's texts, which are UTF-8
// everywhere: the editor's text, the find and replace texts, and paths.
namespace vantrel::platform {

// The editor's text (UTF-8). Bytes that are not UTF-8 become U+FFFD on the
// way to Qt.
std::string toEditorBytes(const QString& text);
QString fromEditorBytes(std::string_view bytes);

// Paths, UTF-8 on every system (the Windows layer hands them to the wide
// API; Linux names are UTF-8 by convention).
std::string toNativePath(const QString& path);
QString fromNativePath(std::string_view path);

}  // namespace vantrel::platform
