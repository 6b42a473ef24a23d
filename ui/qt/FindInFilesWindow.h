#pragma once
#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "shell/FindInFilesLogic.h"
#include "ui/qt/QtDialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace vantrel::qt {

class ResultRowsModel;

// The Find in Files window on Qt: draws the fields, buttons, progress and
// results of shell::FindInFilesLogic and forwards every event to it;
// polls it every 100 ms while shown. Modeless; closing it (Escape) stops a
// run and keeps the window for the next time.
class FindInFilesWindow : public QDialog {
  Q_OBJECT
 public:
  // dialogs: the test's scripted dialogs, or nullptr for boxes over this
  // window.
  FindInFilesWindow(std::unique_ptr<shell::FindInFilesEngine> engine, platform::Dialogs* dialogs,
                    std::function<void(const shell::FilePlace&)> openMatch,
                    const std::string& startFolder, QWidget* parent);
  ~FindInFilesWindow() override;

  shell::FindInFilesLogic& logic() { return *logic_; }
  // Takes what is new from the model now (the timer does it every 100 ms).
  void poll();

 protected:
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  shell::FindInFilesInputs inputs() const;
  void browse();
  void refreshButtons();
  void opened(const QModelIndex& index);

  QtDialogs ownDialogs_{this};
  std::unique_ptr<shell::FindInFilesEngine> engine_;
  std::unique_ptr<shell::FindInFilesLogic> logic_;
  QLineEdit* folder_;
  QPushButton* browse_;
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QCheckBox* includePacked_;
  QPushButton* findAll_;
  QPushButton* replaceAll_;
  QPushButton* stop_;
  QPushButton* undo_;
  QProgressBar* progress_;
  QLabel* status_;
  ResultRowsModel* rows_;
  QTableView* results_;
  QTimer* timer_;
};

}  // namespace vantrel::qt
