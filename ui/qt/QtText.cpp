#include "ui/qt/QtText.h"

#include <QDir>
#include <QStringList>

namespace vantrel::qt {

std::string toUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toProgramPath(const QString& path) { return toUtf8(QDir::toNativeSeparators(path)); }

QString toQtFilter(std::string_view pipeFilter) {
  // Pairs of description and pattern; Qt shows the description, which by
  // convention already names the pattern in parentheses.
  const QStringList parts = fromUtf8(pipeFilter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString& description = parts[i];
    if (i + 1 < parts.size() && !description.contains(QLatin1Char('('))) {
      entries << description + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    } else {
      entries << description;
    }
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace vantrel::qt
