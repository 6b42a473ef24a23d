#include "platform/ui/AnsiText.h"

#include <QFile>

namespace vantrel::platform {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, as Windows itself does, so every byte
// sequence survives a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

std::optional<char> byteFor(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> toEditorBytes(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    const std::optional<char> byte = byteFor(ch.unicode());
    if (!byte) return std::nullopt;
    out += *byte;
  }
  return out;
}

QString fromEditorBytes(std::string_view bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const char16_t unit = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte;
    out += QChar(unit);
  }
  return out;
}

std::string toNativePath(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return std::string(native.constData(), static_cast<std::size_t>(native.size()));
}

QString fromNativePath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace vantrel::platform
