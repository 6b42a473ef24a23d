#pragma once
#include <QMainWindow>
#include <QString>

class QMimeData;
class QTimer;
#include <memory>
#include <optional>
#include <string>

#include "shell/MainWindowLogic.h"
#include "ui/qt/Form1Controls.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtTextField.h"

namespace vantrel::qt {

class TexturePreviewWindow;

// The main window on Qt: creates the controls of the design table and the
// "Options" menu, forwards every event to the core's MainWindowLogic, and
// does for it what only a window can (busy state, closing, placing itself).
class FindInFilesWindow;

class Form1 : public QMainWindow, private shell::WindowFrame {
  Q_OBJECT
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  const Form1Controls& controls() const { return ui_; }
  shell::MainWindowLogic& logic() { return *logic_; }
  // The Texture Preview window once it has been shown; nullptr before.
  TexturePreviewWindow* texturePreviewWindow() const { return preview_; }
  const shell::MainWindowLogic& logic() const { return *logic_; }
  // The Find in Files window once it has been opened; nullptr before.
  FindInFilesWindow* findInFilesWindow() const { return findInFiles_; }

  // While a conversion runs: the commands that read or change the document
  // or its files are disabled (the editor becomes read-only); the window
  // keeps repainting and Exit, View DDS and the viewer path stay usable.
  void setBusy(bool busy) override;

  // Opens a file named on the command line or dropped on the window.
  void openFile(const std::string& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void closeWindow() override;
  void setTitle(const std::string& title) override;
  void showStatus(const std::string& text) override;
  void focusEditor() override;
  void showFindInFiles() override;
  void showTexturePreview() override;
  // The first local file a drag carries, or "".
  static std::string droppedFile(const QMimeData* data);
  void restorePlacement(const shell::StoredPreferences& stored);
  void resizeFrameTo(const QSize& frameSize);
  void fitRestoredFrame();
  void applyResizeLayout();
  void wireEvents();

  Form1Controls ui_;
  QtDialogs ownDialogs_{this};
  QtTextField pathBox_, findBox_, replaceBox_;
  std::unique_ptr<shell::MainWindowLogic> logic_;
  // A restored outer size, applied again once the window system has put the
  // frame around the shown window.
  std::optional<QSize> restoredFrameSize_;
  int frameFits_ = 0;
  QString title_;
  QTimer* statusTimer_ = nullptr;
  TexturePreviewWindow* preview_ = nullptr;
  // Restarted by every change of the editor's text; when it runs out an
  // open preview reads the text again.
  QTimer* previewTimer_ = nullptr;
  bool busy_ = false;
  FindInFilesWindow* findInFiles_ = nullptr;
};

}  // namespace vantrel::qt
