#pragma once
#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>

#include "pipeline/EditorSession.h"
#include "pipeline/operations/DocumentOperations.h"
#include "shell/window/Form1Controls.h"

namespace vantrel::search {
class Finder;
}

namespace vantrel::shell {

// The main window: the controls of the design table, the "Options" menu,
// the per-document session, and one short handler per wired event. Loading
// (in the constructor) restores the settings, prepares the working folder
// and reads the simulator folder; closing saves the settings.
class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  const Form1Controls& controls() const { return ui_; }
  EditorSession& session() { return session_; }

  // While a conversion runs: the commands that read or change the document
  // or its files are disabled (the editor becomes read-only); the window
  // keeps repainting and Exit, View DDS and the viewer path stay usable.
  void setBusy(bool busy);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void load();
  void restoreSettings();
  void prepareWorkingFolder();
  void readSimulatorFolder();
  void saveSettings();
  void resizeFrameTo(const QSize& frameSize);
  void fitRestoredFrame();
  void applyResizeLayout();
  void wireEvents();

  void find();
  void replace();
  void replaceAll();

  Form1Controls ui_;
  EditorSession session_;
  std::string programFolder_;
  pipeline::DocumentContext context_;
  std::unique_ptr<search::Finder> finder_;
  // A restored outer size, applied again once the window system has put the
  // frame around the shown window.
  std::optional<QSize> restoredFrameSize_;
  int frameFits_ = 0;
};

}  // namespace vantrel::shell
