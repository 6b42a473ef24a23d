#pragma once
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <vector>

#include "shell/FindInFilesLogic.h"

// The Find in Files results as a table (File, Line, Text) over the model's
// own rows, and the delegate that marks the match in the Text column.
namespace vantrel::qt {

class ResultRowsModel : public QAbstractTableModel {
 public:
  // The match in the text, in UTF-16 units of the shown string.
  static constexpr int kMatchStartRole = Qt::UserRole + 1;
  static constexpr int kMatchLengthRole = Qt::UserRole + 2;

  ResultRowsModel(const std::vector<shell::ResultRow>& rows, QObject* parent)
      : QAbstractTableModel(parent), rows_(rows) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // The rows shown follow the model's: emptied, or grown by what is new.
  void follow(bool cleared);

 private:
  const std::vector<shell::ResultRow>& rows_;
  int shown_ = 0;
};

// Draws the text with its match in bold on the highlight colour.
class MatchMarkDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace vantrel::qt
