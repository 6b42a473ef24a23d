#include "platform/ui/AnsiText.h"

namespace vantrel::platform {

namespace {

std::string utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromUtf8(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

std::string toEditorBytes(const QString& text) { return utf8(text); }

QString fromEditorBytes(std::string_view bytes) { return fromUtf8(bytes); }

std::string toNativePath(const QString& path) { return utf8(path); }

QString fromNativePath(std::string_view path) { return fromUtf8(path); }

}  // namespace vantrel::platform
