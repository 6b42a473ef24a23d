#pragma once
#include <QDialog>
#include <string>

class QLineEdit;
class QTableView;

namespace vantrel::archive {
class MemberPicker;
}

namespace vantrel::qt {

class MemberRowsModel;

// The list of a packed file's members to open one from: a filter box above
// a table of path and size, both drawn from the core's picker, which holds
// the filter and the selection. Keys that move through a list work in the
// filter box too; Enter or a double-click opens, Escape cancels.
class MemberPickerDialog : public QDialog {
  Q_OBJECT
 public:
  MemberPickerDialog(QWidget* parent, const std::string& title, archive::MemberPicker& picker);
  ~MemberPickerDialog() override;

  QLineEdit* filterBox() const { return filter_; }
  QTableView* list() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showSelection();
  void filterChanged(const QString& text);

  archive::MemberPicker& picker_;
  MemberRowsModel* rows_;
  QLineEdit* filter_;
  QTableView* list_;
};

}  // namespace vantrel::qt
