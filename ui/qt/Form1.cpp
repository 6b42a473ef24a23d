#include "ui/qt/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "platform/core/ProgramFolder.h"
#include "shell/ControlPlaces.h"
#include "shell/FindInFilesEngine.h"
#include "shell/MainWindowControls.h"
#include "ui/qt/EnterPressesButton.h"
#include "ui/qt/FindInFilesWindow.h"
#include "ui/qt/QtEditorControl.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtWindowPlacement.h"
#include "ui/qt/TexturePreviewWindow.h"
#include "ui/qt/Twips.h"

namespace vantrel::qt {

namespace {
constexpr int kFrameSettleMs = 2000;
constexpr int kMaxFrameFits = 3;
constexpr int kStatusShownMs = 6000;
// How long the text rests after a change before the preview reads it.
constexpr int kPreviewRestMs = 300;
}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QString::fromLatin1(shell::kMainWindowTitle));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  ui_ = buildForm1Controls(*this, *client);

  // The design fixes the client area; the menu bar lies above it. Below
  // the minimum some control would be cut off.
  const int menuHeight = menuBar()->sizeHint().height();
  resize(twipsToPixels(shell::kDesignClientWidth, this),
         twipsToPixels(shell::kDesignClientHeight, this) + menuHeight);
  setMinimumSize(twipsToPixels(shell::kMinimumClientWidth, this),
                 twipsToPixels(shell::kMinimumClientHeight, this) + menuHeight);
  setAcceptDrops(true);
  statusTimer_ = new QTimer(this);
  statusTimer_->setSingleShot(true);
  connect(statusTimer_, &QTimer::timeout, this, [this] { setWindowTitle(title_); });
  previewTimer_ = new QTimer(this);
  previewTimer_->setSingleShot(true);
  previewTimer_->setInterval(kPreviewRestMs);

  pathBox_ = QtTextField(ui_.Text1);
  findBox_ = QtTextField(ui_.Text2);
  replaceBox_ = QtTextField(ui_.Text3);
  shell::MainWindowParts parts;
  parts.editor = &ui_.RichTextBox1->editor();
  parts.pathBox = &pathBox_;
  parts.findBox = &findBox_;
  parts.replaceBox = &replaceBox_;
  parts.wholeWordChecked = [this] { return ui_.Check1->isChecked(); };
  parts.dialogs = platform::dialogsOverride() ? platform::dialogsOverride() : &ownDialogs_;
  parts.frame = this;
  logic_ = std::make_unique<shell::MainWindowLogic>(platform::programFolder(), std::move(parts));

  wireEvents();
  ui_.Text1->setFocus();
  restorePlacement(logic_->load());
}

void Form1::openFile(const std::string& path) { logic_->openFile(path); }

Form1::~Form1() = default;

void Form1::wireEvents() {
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i) {
    const shell::ControlDesign& row = shell::kMainWindowControls[i];
    if (row.onPress != nullptr) {
      connect(static_cast<QPushButton*>(ui_.all[i]), &QPushButton::clicked, this,
              [this, handler = row.onPress] { (logic_.get()->*handler)(); });
    }
    if (row.enterPresses != nullptr) {
      EnterPressesButton::install(
          static_cast<QLineEdit*>(ui_.all[i]),
          static_cast<QPushButton*>(ui_.all[shell::controlIndex(row.enterPresses)]));
    }
  }
  for (std::size_t i = 0; i < shell::kOptionsMenuEntries.size(); ++i) {
    connect(
        ui_.menuEntries[i], &QAction::triggered, this,
        [this, handler = shell::kOptionsMenuEntries[i].onChoose] { (logic_.get()->*handler)(); });
  }
  for (std::size_t i = 0; i < shell::kToolsMenuEntries.size(); ++i) {
    connect(ui_.toolEntries[i], &QAction::triggered, this,
            [this, handler = shell::kToolsMenuEntries[i].onChoose] { (logic_.get()->*handler)(); });
  }
  ui_.RichTextBox1->installEventFilter(this);  // Ctrl+Tab leaves the editor
  // Files dropped on the editor open as on the rest of the window.
  ui_.RichTextBox1->viewport()->installEventFilter(this);
  connect(ui_.RichTextBox1, &QsciScintilla::modificationChanged, this,
          [this] { logic_->modifiedChanged(); });
  connect(ui_.RichTextBox1, &QsciScintilla::textChanged, this, [this] {
    if (logic_->texturePreview().isOpen()) previewTimer_->start();
  });
  connect(previewTimer_, &QTimer::timeout, this, [this] {
    if (logic_->commandRunning()) {  // the text may be loading: later
      previewTimer_->start();
      return;
    }
    if (logic_->textRested() && preview_ != nullptr) preview_->refresh();
  });
}

// Tab types a tab in the editor, so Ctrl+Tab (Ctrl+Shift+Tab backwards)
// moves the focus on from it, as in other editors.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  const bool onEditor = watched == ui_.RichTextBox1 || watched == ui_.RichTextBox1->viewport();
  if (onEditor && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!droppedFile(drop->mimeData()).empty()) {
      if (event->type() == QEvent::DragEnter) {
        dragEnterEvent(static_cast<QDragEnterEvent*>(event));
      } else {
        dropEvent(drop);
      }
      return true;
    }
  }
  if (watched == ui_.RichTextBox1 && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && logic_->commandRunning()) {
      logic_->escape();
      return true;
    }
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        key->modifiers().testFlag(Qt::ControlModifier)) {
      const bool backwards =
          key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
      focusNextPrevChild(!backwards);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::setBusy(bool busy) {
  if (busy != busy_) {
    busy_ = busy;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i) {
    const shell::ControlDesign& row = shell::kMainWindowControls[i];
    if (!row.busyDisables) continue;
    if (row.kind == shell::ControlKind::Editor) {
      ui_.RichTextBox1->editor().setReadOnly(busy);
    } else {
      ui_.all[i]->setEnabled(!busy);
    }
  }
  for (std::size_t i = 0; i < shell::kOptionsMenuEntries.size(); ++i) {
    if (shell::kOptionsMenuEntries[i].busyDisables) ui_.menuEntries[i]->setEnabled(!busy);
  }
  for (QAction* entry : ui_.toolEntries) entry->setEnabled(!busy);
}

// Esc that no control took (during a conversion the buttons are disabled).
void Form1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && logic_->commandRunning()) {
    logic_->escape();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void Form1::closeWindow() { close(); }

void Form1::setTitle(const std::string& title) {
  title_ = fromUtf8(title);
  if (!statusTimer_->isActive()) setWindowTitle(title_);
}

void Form1::showStatus(const std::string& text) {
  setWindowTitle(title_ + QStringLiteral(" - ") + fromUtf8(text));
  statusTimer_->start(kStatusShownMs);
}

void Form1::focusEditor() {
  activateWindow();
  ui_.RichTextBox1->setFocus();
}

void Form1::showFindInFiles() {
  if (findInFiles_ == nullptr) {
    findInFiles_ = new FindInFilesWindow(
        shell::makeFindInFilesEngine(), platform::dialogsOverride(),
        [this](const shell::FilePlace& place) { logic_->openMatch(place); },
        logic_->simulatorFolder(), this);
  }
  findInFiles_->show();
  findInFiles_->raise();
  findInFiles_->activateWindow();
}

void Form1::showTexturePreview() {
  if (preview_ == nullptr) {
    preview_ = new TexturePreviewWindow(logic_->texturePreview(), this);
    // The Tools keys work in the preview too: Ctrl+Shift+E exports the
    // level it shows.
    for (QAction* entry : ui_.toolEntries) preview_->addAction(entry);
  }
  preview_->refresh();
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

std::string Form1::droppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return toProgramPath(url.toLocalFile());
  }
  return {};
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFile(event->mimeData()).empty()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
  const std::string path = droppedFile(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  // Opened once the drop has ended, so the source application is not kept
  // waiting through a conversion.
  QTimer::singleShot(0, this, [this, path] { logic_->openFile(path); });
}

// --- Placement ------------------------------------------------------------

void Form1::restorePlacement(const shell::StoredPreferences& stored) {
  if (!stored.hasGeometry()) return;
  const shell::FramePlacement placement =
      shell::placementFromSettings(stored.read.settings, twipsPerPixel(this), currentScreenAreas());
  if (placement.frameSize) {
    restoredFrameSize_ = QSize(placement.frameSize->width, placement.frameSize->height);
    resizeFrameTo(*restoredFrameSize_);
  }
  if (placement.framePos)
    move(placement.framePos->left, placement.framePos->top);  // the frame's corner
}

void Form1::resizeFrameTo(const QSize& frameSize) {
  const QSize margins = frameGeometry().size() - geometry().size();
  resize(std::max(1, frameSize.width() - margins.width()),
         std::max(1, frameSize.height() - margins.height()));
}

void Form1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!restoredFrameSize_) return;
  fitRestoredFrame();
  // The window system may put its frame around the window a moment after
  // it is shown; until then the restored outer size is kept up. After that
  // the user's own resizing is never undone.
  QTimer::singleShot(kFrameSettleMs, this, [this] { restoredFrameSize_.reset(); });
}

void Form1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  fitRestoredFrame();
}

void Form1::fitRestoredFrame() {
  if (!restoredFrameSize_ || !isVisible() || isMinimized() || isMaximized()) return;
  if (frameGeometry().size() == *restoredFrameSize_) return;
  if (++frameFits_ > kMaxFrameFits) {  // the window system insists on another size
    restoredFrameSize_.reset();
    return;
  }
  resizeFrameTo(*restoredFrameSize_);
}

// --- Shutdown -------------------------------------------------------------

void Form1::closeEvent(QCloseEvent* event) {
  if (!logic_->confirmClose()) {
    event->ignore();
    return;
  }
  // The normal geometry, also while minimized or maximized, so the next
  // start opens a usable window.
  logic_->saveSettings(
      shell::settingsFromFrame(toPixelRect(normalFrameGeometry(*this)), twipsPerPixel(this), {}));
  QMainWindow::closeEvent(event);
}

// --- Resize layout --------------------------------------------------------

void Form1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  fitRestoredFrame();
  applyResizeLayout();
}

void Form1::applyResizeLayout() {
  if (isMinimized()) return;  // nothing to see; the sizes would be meaningless
  const double tpp = twipsPerPixel(this);
  const QSize outer = frameGeometry().size();
  const shell::ResizeLayout out = shell::computeResizeLayout(shell::resizeInputFor(
      static_cast<float>(outer.width() * tpp), static_cast<float>(outer.height() * tpp)));

  auto px = [this](float value) { return twipsToPixels(value, this); };
  for (std::size_t i = 0; i < shell::kMainWindowControls.size(); ++i) {
    if (shell::kMainWindowControls[i].follows == shell::Follows::Nothing) continue;
    const shell::TwipsRect r = shell::placeAfterResize(shell::kMainWindowControls[i], out);
    ui_.all[i]->setGeometry(px(r.left), px(r.top), std::max(0, px(r.width)),
                            std::max(0, px(r.height)));
  }
}

}  // namespace vantrel::qt
