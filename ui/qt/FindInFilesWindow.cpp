#include "ui/qt/FindInFilesWindow.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt/QtText.h"
#include "ui/qt/ResultRowsModel.h"

namespace vantrel::qt {

namespace {
constexpr int kPollMs = 100;
}  // namespace

FindInFilesWindow::FindInFilesWindow(std::unique_ptr<shell::FindInFilesEngine> engine,
                                     platform::Dialogs* dialogs,
                                     std::function<void(const shell::FilePlace&)> openMatch,
                                     const std::string& startFolder, QWidget* parent)
    : QDialog(parent),
      engine_(std::move(engine)),
      logic_(std::make_unique<shell::FindInFilesLogic>(
          *engine_, dialogs ? *dialogs : static_cast<platform::Dialogs&>(ownDialogs_),
          std::move(openMatch))),
      folder_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("..."), this)),
      find_(new QLineEdit(this)),
      replace_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWord_(new QCheckBox(QStringLiteral("&Whole word"), this)),
      includePacked_(new QCheckBox(QStringLiteral("Include &packed files"), this)),
      findAll_(new QPushButton(QStringLiteral("&Find All"), this)),
      replaceAll_(new QPushButton(QStringLiteral("&Replace All..."), this)),
      stop_(new QPushButton(QStringLiteral("S&top"), this)),
      undo_(new QPushButton(QStringLiteral("&Undo last replace"), this)),
      progress_(new QProgressBar(this)),
      status_(new QLabel(this)),
      rows_(new ResultRowsModel(logic_->rows(), this)),
      results_(new QTableView(this)),
      timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("frmFindInFiles"));
  setWindowTitle(QStringLiteral("Find in Files"));
  setModal(false);
  folder_->setObjectName(QStringLiteral("txtFolder"));
  browse_->setObjectName(QStringLiteral("cmdBrowse"));
  find_->setObjectName(QStringLiteral("txtFind"));
  replace_->setObjectName(QStringLiteral("txtReplace"));
  matchCase_->setObjectName(QStringLiteral("chkMatchCase"));
  wholeWord_->setObjectName(QStringLiteral("chkWholeWord"));
  includePacked_->setObjectName(QStringLiteral("chkIncludePacked"));
  findAll_->setObjectName(QStringLiteral("cmdFindAll"));
  replaceAll_->setObjectName(QStringLiteral("cmdReplaceAll"));
  stop_->setObjectName(QStringLiteral("cmdStop"));
  undo_->setObjectName(QStringLiteral("cmdUndo"));
  progress_->setObjectName(QStringLiteral("prgFiles"));
  status_->setObjectName(QStringLiteral("lblStatus"));
  results_->setObjectName(QStringLiteral("lstResults"));

  folder_->setText(fromUtf8(startFolder));
  browse_->setToolTip(QStringLiteral("Choose the folder to search"));
  includePacked_->setChecked(true);
  // Enter in any box is Find All; Escape closes (QDialog's own keys).
  findAll_->setDefault(true);
  for (QPushButton* button : {browse_, replaceAll_, stop_, undo_}) button->setAutoDefault(false);

  auto* fields = new QGridLayout;
  auto addLabel = [this, fields](const char* text, QWidget* buddy, int row) {
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setBuddy(buddy);
    fields->addWidget(label, row, 0);
  };
  addLabel("F&older:", folder_, 0);
  fields->addWidget(folder_, 0, 1);
  fields->addWidget(browse_, 0, 2);
  addLabel("F&ind what:", find_, 1);
  fields->addWidget(find_, 1, 1, 1, 2);
  addLabel("R&eplace with:", replace_, 2);
  fields->addWidget(replace_, 2, 1, 1, 2);
  auto* options = new QHBoxLayout;
  options->addWidget(matchCase_);
  options->addWidget(wholeWord_);
  options->addWidget(includePacked_);
  options->addStretch();
  fields->addLayout(options, 3, 1, 1, 2);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {findAll_, replaceAll_, stop_, undo_}) buttons->addWidget(button);
  buttons->addStretch();

  results_->setModel(rows_);
  results_->setItemDelegateForColumn(2, new MatchMarkDelegate(results_));
  results_->setSelectionBehavior(QAbstractItemView::SelectRows);
  results_->setSelectionMode(QAbstractItemView::SingleSelection);
  results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  results_->setShowGrid(false);
  results_->setWordWrap(false);
  results_->setTextElideMode(Qt::ElideMiddle);  // the file name at the end stays in view
  results_->verticalHeader()->hide();
  results_->verticalHeader()->setDefaultSectionSize(results_->fontMetrics().height() + 4);
  results_->horizontalHeader()->setStretchLastSection(true);
  results_->setColumnWidth(0, 280);
  results_->setColumnWidth(1, 60);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(progress_);
  layout->addWidget(status_);
  layout->addWidget(results_, 1);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setFormat(QStringLiteral("%v of %m files"));
  resize(820, 560);

  connect(browse_, &QPushButton::clicked, this, &FindInFilesWindow::browse);
  connect(findAll_, &QPushButton::clicked, this, [this] {
    logic_->findAll(inputs());
    poll();
  });
  connect(replaceAll_, &QPushButton::clicked, this, [this] {
    logic_->replaceAll(inputs());
    poll();
  });
  connect(stop_, &QPushButton::clicked, this, [this] {
    logic_->stop();
    refreshButtons();
  });
  connect(undo_, &QPushButton::clicked, this, [this] {
    logic_->undoLastReplace(toUtf8(folder_->text()));
    refreshButtons();
  });
  connect(folder_, &QLineEdit::textChanged, this, [this](const QString& text) {
    logic_->folderChanged(toUtf8(text));
    refreshButtons();
  });
  connect(results_, &QTableView::doubleClicked, this, &FindInFilesWindow::opened);
  // Enter on a row opens it too, instead of reaching the dialog's default
  // button (Find All).
  results_->installEventFilter(this);
  connect(timer_, &QTimer::timeout, this, &FindInFilesWindow::poll);
  logic_->folderChanged(startFolder);
  refreshButtons();
  find_->setFocus();
}

FindInFilesWindow::~FindInFilesWindow() = default;

shell::FindInFilesInputs FindInFilesWindow::inputs() const {
  shell::FindInFilesInputs in;
  in.folder = toUtf8(folder_->text());
  in.findText = toUtf8(find_->text());
  in.replaceText = toUtf8(replace_->text());
  in.matchCase = matchCase_->isChecked();
  in.wholeWord = wholeWord_->isChecked();
  in.includePacked = includePacked_->isChecked();
  return in;
}

void FindInFilesWindow::browse() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Folder to search"), folder_->text());
  if (!chosen.isEmpty()) folder_->setText(fromUtf8(toProgramPath(chosen)));
}

void FindInFilesWindow::poll() {
  const shell::FindInFilesUpdate update = logic_->poll();
  rows_->follow(update.cleared);
  const int found = static_cast<int>(update.filesFound);
  progress_->setRange(0, std::max(found, 1));
  progress_->setValue(static_cast<int>(update.filesDone));
  if (status_->text() != fromUtf8(update.status)) status_->setText(fromUtf8(update.status));
  refreshButtons();
}

void FindInFilesWindow::refreshButtons() {
  const shell::FindInFilesButtons enabled = logic_->buttons();
  findAll_->setEnabled(enabled.findAll);
  replaceAll_->setEnabled(enabled.replaceAll);
  stop_->setEnabled(enabled.stop);
  undo_->setEnabled(enabled.undo);
}

void FindInFilesWindow::opened(const QModelIndex& index) {
  if (index.isValid()) logic_->activate(static_cast<std::size_t>(index.row()));
}

bool FindInFilesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == results_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      opened(results_->currentIndex());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FindInFilesWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_->start(kPollMs);
}

// Closed: a run stops, and the window waits hidden for the next time.
void FindInFilesWindow::hideEvent(QHideEvent* event) {
  logic_->stop();
  timer_->stop();
  poll();
  QDialog::hideEvent(event);
}

}  // namespace vantrel::qt
