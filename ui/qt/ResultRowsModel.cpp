#include "ui/qt/ResultRowsModel.h"

#include <QApplication>
#include <QPainter>

#include "ui/qt/QtText.h"

namespace vantrel::qt {

int ResultRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int ResultRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant ResultRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const shell::ResultRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      if (index.column() == 0) return fromUtf8(row.file);
      if (index.column() == 1) return fromUtf8(row.line);
      return fromUtf8(row.text);
    case Qt::TextAlignmentRole:
      if (index.column() == 1) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::ForegroundRole:
      if (row.problem) return QApplication::palette().color(QPalette::PlaceholderText);
      return {};
    case kMatchStartRole:
      return static_cast<int>(
          fromUtf8(std::string_view(row.text).substr(0, row.matchStart)).size());
    case kMatchLengthRole:
      return static_cast<int>(
          fromUtf8(std::string_view(row.text).substr(row.matchStart, row.matchLength)).size());
    default:
      return {};
  }
}

QVariant ResultRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[] = {"File", "Line", "Text"};
  return QString::fromLatin1(kHeaders[section]);
}

void ResultRowsModel::follow(bool cleared) {
  if (cleared && shown_ > 0) {
    beginResetModel();
    shown_ = 0;
    endResetModel();
  }
  const int total = static_cast<int>(rows_.size());
  if (total < shown_) {  // the model started over without saying so
    beginResetModel();
    shown_ = total;
    endResetModel();
  } else if (total > shown_) {
    beginInsertRows({}, shown_, total - 1);
    shown_ = total;
    endInsertRows();
  }
}

void MatchMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const int length = index.data(ResultRowsModel::kMatchLengthRole).toInt();
  if (length <= 0) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  item.text.clear();
  QStyle* style = item.widget ? item.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

  const int start = index.data(ResultRowsModel::kMatchStartRole).toInt();
  const QString before = text.left(start), match = text.mid(start, length),
                after = text.mid(start + length);
  QFont bold = item.font;
  bold.setBold(true);
  const QFontMetrics plainMetrics(item.font), boldMetrics(bold);
  const bool selected = item.state.testFlag(QStyle::State_Selected);
  const QColor textColour =
      item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
  area.adjust(2, 0, -2, 0);

  painter->save();
  painter->setClipRect(area);
  painter->setPen(textColour);
  painter->setFont(item.font);
  int x = area.left();
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  painter->drawText(QRect(x, area.top(), area.right() - x, area.height()), flags, before);
  x += plainMetrics.horizontalAdvance(before);
  const int matchWidth = boldMetrics.horizontalAdvance(match);
  if (!selected) {
    painter->fillRect(QRect(x, area.top() + 1, matchWidth, area.height() - 2),
                      QColor(255, 230, 120));
  }
  painter->setFont(bold);
  painter->drawText(QRect(x, area.top(), area.right() - x, area.height()), flags, match);
  x += matchWidth;
  painter->setFont(item.font);
  painter->drawText(QRect(x, area.top(), std::max(0, area.right() - x), area.height()), flags,
                    after);
  painter->restore();
}

}  // namespace vantrel::qt
