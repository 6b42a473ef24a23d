#pragma once
#include <QString>
#include <string>
#include <string_view>

// The core speaks UTF-8 std::string; Qt speaks QString.
namespace vantrel::qt {

std::string toUtf8(const QString& text);
QString fromUtf8(std::string_view text);

// A path from a Qt dialog: native separators, UTF-8.
std::string toProgramPath(const QString& path);

// "Desc (*.x)|*.x|Other (*.*)|*.*" -> Qt's "Desc (*.x);;Other (*.*)".
QString toQtFilter(std::string_view pipeFilter);

}  // namespace vantrel::qt
