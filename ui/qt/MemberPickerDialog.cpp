#include "ui/qt/MemberPickerDialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "archive/MemberPicker.h"
#include "ui/qt/QtText.h"

namespace vantrel::qt {

// The picker's visible rows as a table; reset whenever the filter changes.
class MemberRowsModel : public QAbstractTableModel {
 public:
  explicit MemberRowsModel(archive::MemberPicker& picker, QObject* parent)
      : QAbstractTableModel(parent), picker_(picker) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(picker_.rowCount());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole && index.column() == 1)
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const archive::PickerRow row = picker_.row(static_cast<std::size_t>(index.row()));
    return fromUtf8(index.column() == 0 ? row.path : row.sizeText);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Path") : QStringLiteral("Size");
  }
  void refresh() {
    beginResetModel();
    endResetModel();
  }

 private:
  archive::MemberPicker& picker_;
};

MemberPickerDialog::MemberPickerDialog(QWidget* parent, const std::string& title,
                                       archive::MemberPicker& picker)
    : QDialog(parent),
      picker_(picker),
      rows_(new MemberRowsModel(picker, this)),
      filter_(new QLineEdit(this)),
      list_(new QTableView(this)) {
  setWindowTitle(fromUtf8(title));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("&Show files whose path holds:"), this);
  label->setBuddy(filter_);
  layout->addWidget(label);
  layout->addWidget(filter_);
  list_->setModel(rows_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(false);
  list_->setWordWrap(false);
  list_->verticalHeader()->hide();
  // Fixed row heights: the table never measures 10,000 rows.
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  resize(640, 480);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(filter_, &QLineEdit::textChanged, this, &MemberPickerDialog::filterChanged);
  connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    picker_.select(static_cast<std::size_t>(index.row()));
    accept();
  });
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) picker_.select(static_cast<std::size_t>(current.row()));
          });
  filter_->installEventFilter(this);
  filter_->setText(fromUtf8(picker_.filter()));
  showSelection();
  filter_->setFocus();
}

MemberPickerDialog::~MemberPickerDialog() = default;

void MemberPickerDialog::filterChanged(const QString& text) {
  picker_.setFilter(toUtf8(text));
  rows_->refresh();
  showSelection();
}

void MemberPickerDialog::showSelection() {
  const auto row = picker_.selectedRow();
  if (!row) return;
  const QModelIndex index = rows_->index(static_cast<int>(*row), 0);
  list_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

// Up, Down, Page Up, Page Down (and Ctrl+Home / Ctrl+End) typed in the filter
// box move through the list, as in other pickers of this kind.
bool MemberPickerDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == filter_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto page = static_cast<std::size_t>(std::max(
        1,
        list_->viewport()->height() / std::max(1, list_->verticalHeader()->defaultSectionSize())));
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    std::optional<archive::MemberPicker::Move> move;
    switch (key->key()) {
      case Qt::Key_Up:
        move = archive::MemberPicker::Move::Up;
        break;
      case Qt::Key_Down:
        move = archive::MemberPicker::Move::Down;
        break;
      case Qt::Key_PageUp:
        move = archive::MemberPicker::Move::PageUp;
        break;
      case Qt::Key_PageDown:
        move = archive::MemberPicker::Move::PageDown;
        break;
      case Qt::Key_Home:
        if (ctrl) move = archive::MemberPicker::Move::Home;
        break;
      case Qt::Key_End:
        if (ctrl) move = archive::MemberPicker::Move::End;
        break;
      default:
        break;
    }
    if (move) {
      picker_.move(*move, page);
      showSelection();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel::qt
