#include "shell/window/Form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <initializer_list>

#include "platform/editor/Editor.h"
#include "platform/ui/AnsiText.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Twips.h"
#include "search/Finder.h"
#include "shell/Registry.h"
#include "shell/ResizeLayout.h"
#include "shell/window/EnterPressesButton.h"
#include "shell/window/MainWindowControls.h"
#include "shell/window/StartupFiles.h"
#include "shell/window/WindowPlacement.h"
#include "texture/TextureCommands.h"

namespace vantrel::shell {

namespace {
constexpr int kFrameSettleMs = 2000;
constexpr int kMaxFrameFits = 3;
}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent), programFolder_(platform::programFolder()) {
  setWindowTitle(QString::fromLatin1(kMainWindowTitle));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  ui_ = buildForm1Controls(*this, *client);

  // The design fixes the client area; the menu bar lies above it.
  resize(platform::twipsToPixels(kDesignClientWidth, this),
         platform::twipsToPixels(kDesignClientHeight, this) + menuBar()->sizeHint().height());

  context_ = {this, ui_.Text1, ui_.RichTextBox1, &session_, programFolder_,
              [this](bool busy) { setBusy(busy); }};
  finder_ = std::make_unique<search::Finder>(*ui_.RichTextBox1, session_);
  wireEvents();
  ui_.Text1->setFocus();
  load();
}

Form1::~Form1() = default;

void Form1::wireEvents() {
  auto onClick = [this](QPushButton* button, auto handler) {
    connect(button, &QPushButton::clicked, this, handler);
  };
  onClick(ui_.Command1, [this] { pipeline::openBin(context_); });
  onClick(ui_.Command9, [this] { pipeline::viewOtherFiles(context_); });
  onClick(ui_.Command3, [this] { pipeline::saveBin(context_); });
  onClick(ui_.Command8, [this] { pipeline::saveAs(context_); });
  onClick(ui_.Command7, [this] { pipeline::clearEditor(context_); });
  onClick(ui_.Command2, [this] { close(); });
  onClick(ui_.Command4, [this] { find(); });
  onClick(ui_.Command5, [this] { replace(); });
  onClick(ui_.Command6, [this] { replaceAll(); });
  onClick(ui_.Command10, [this] { texture::convertToDds(this, *ui_.RichTextBox1); });
  onClick(ui_.Command11,
          [this] { texture::viewDds(this, session_.strIV, programFolder_); });
  ui_.RichTextBox1->installEventFilter(this);  // Ctrl+Tab leaves the editor
  EnterPressesButton::install(ui_.Text2, ui_.Command4);
  EnterPressesButton::install(ui_.Text3, ui_.Command5);
  connect(ui_.mnuIRF, &QAction::triggered, this,
          [this] { texture::chooseViewerPath(this, session_.strIV); });
  connect(ui_.mnuCTF, &QAction::triggered, this, [this] { pipeline::clearTempFiles(context_); });
  connect(ui_.mnuExit, &QAction::triggered, this, [this] { close(); });
}

// Tab types a tab in the editor, so Ctrl+Tab (Ctrl+Shift+Tab backwards)
// moves the focus on from it, as in other editors.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_.RichTextBox1 && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
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

// --- Find, Replace, Replace All -------------------------------------------
// The boxes' texts go to the search as UTF-8, the editor's own encoding.

void Form1::find() {
  const bool wholeWord = ui_.Check1->isChecked();  // read first, even for an empty box
  finder_->find(platform::toEditorBytes(ui_.Text2->text()), wholeWord);
}

void Form1::replace() { finder_->replace(platform::toEditorBytes(ui_.Text3->text())); }

void Form1::replaceAll() {
  finder_->replaceAll(platform::toEditorBytes(ui_.Text2->text()),
                      platform::toEditorBytes(ui_.Text3->text()));
}

void Form1::setBusy(bool busy) {
  const std::initializer_list<QWidget*> documentCommands = {
      ui_.Command1, ui_.Command3, ui_.Command4, ui_.Command5, ui_.Command6,
      ui_.Command7, ui_.Command8, ui_.Command9, ui_.Command10, ui_.Text1};
  for (QWidget* command : documentCommands) {
    command->setEnabled(!busy);
  }
  ui_.mnuCTF->setEnabled(!busy);
  ui_.RichTextBox1->setReadOnly(busy);
}

// --- Load -----------------------------------------------------------------
// Each step runs whatever the earlier ones met: an unreadable settings file
// costs only the geometry and the viewer path.

void Form1::load() {
  restoreSettings();
  prepareWorkingFolder();
  readSimulatorFolder();
}

void Form1::restoreSettings() {
  const StoredPreferences stored = readPreferences(programFolder_);
  session_.strIV = stored.viewerPath();
  if (!stored.hasGeometry()) return;
  const FramePlacement placement = placementFromSettings(
      stored.read.settings, platform::twipsPerPixel(this), currentScreenAreas());
  if (placement.frameSize) {
    restoredFrameSize_ = placement.frameSize;
    resizeFrameTo(*placement.frameSize);
  }
  if (placement.framePos) move(*placement.framePos);  // moves the frame's corner
}

void Form1::prepareWorkingFolder() {
  std::string errorText;
  if (ensureWorkingFolder(programFolder_, errorText)) return;
  platform::dialogs().message(
      this,
      QStringLiteral("The working folder\r\n%1\r\ncould not be created (%2). Opening and "
                     "converting files needs it.")
          .arg(platform::fromNativePath(workingFolderPath(programFolder_)),
               QString::fromLocal8Bit(errorText.c_str())),
      platform::MessageIcon::Warning);
}

void Form1::readSimulatorFolder() { session_.VantrelPath = shell::readSimulatorFolder(); }

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
  saveSettings();
  QMainWindow::closeEvent(event);
}

void Form1::saveSettings() {
  // The normal geometry, also while minimized or maximized, so the next
  // start opens a usable window.
  const Settings settings = settingsFromFrame(normalFrameGeometry(*this),
                                              platform::twipsPerPixel(this), session_.strIV);
  std::string errorText;
  if (writePreferences(programFolder_, settings, errorText)) return;
  platform::dialogs().message(
      this,
      QStringLiteral("The window position and the image viewer path could not be saved in\r\n"
                     "%1\r\n(%2). The next start uses the default settings.")
          .arg(platform::fromNativePath(preferencesPath(programFolder_)),
               QString::fromLocal8Bit(errorText.c_str())),
      platform::MessageIcon::Warning);
}

// --- Resize layout --------------------------------------------------------

void Form1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  fitRestoredFrame();
  applyResizeLayout();
}

void Form1::applyResizeLayout() {
  if (isMinimized()) return;  // nothing to see; the sizes would be meaningless
  const double tpp = platform::twipsPerPixel(this);
  auto twips = [tpp](int pixels) { return static_cast<float>(pixels * tpp); };
  const QSize outer = frameGeometry().size();

  ResizeInput in;
  in.outerWidth = twips(outer.width());
  in.outerHeight = twips(outer.height());
  in.text2Height = twips(ui_.Text2->height());
  in.label1Width = twips(ui_.Label1->width());
  in.command1Width = twips(ui_.Command1->width());
  in.command9Width = twips(ui_.Command9->width());
  const ResizeLayout out = computeResizeLayout(in);

  auto px = [this](float value) { return platform::twipsToPixels(value, this); };
  auto setTop = [&](QWidget* w, float top) { w->move(w->x(), px(top)); };
  auto setLeft = [&](QWidget* w, float left) { w->move(px(left), w->y()); };

  ui_.RichTextBox1->setGeometry(px(out.editorLeft), px(out.editorTop),
                                std::max(0, px(out.editorWidth)),
                                std::max(0, px(out.editorHeight)));
  const std::initializer_list<QWidget*> firstRow = {
      ui_.Command3, ui_.Command2, ui_.Text2, ui_.Command4, ui_.Command7, ui_.Command8, ui_.Check1};
  for (QWidget* w : firstRow) {
    setTop(w, out.firstRowTop);
  }
  const std::initializer_list<QWidget*> secondRow = {ui_.Text3, ui_.Command5, ui_.Command6,
                                                     ui_.Command10, ui_.Command11};
  for (QWidget* w : secondRow) {
    setTop(w, out.secondRowTop);
  }
  setLeft(ui_.Label1, out.label1Left);
  ui_.Text1->setGeometry(px(out.text1Left), ui_.Text1->y(), std::max(0, px(out.text1Width)),
                         ui_.Text1->height());
  setLeft(ui_.Command1, out.command1Left);
  setLeft(ui_.Command9, out.command9Left);
}

}  // namespace vantrel::shell
