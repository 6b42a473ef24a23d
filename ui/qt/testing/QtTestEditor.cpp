// The toolkit under the core's tests and benchmarks on Linux: an
// application object and QScintilla controls in a small window.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/core/MessagePump.h"
#include "tests/support/TestEditor.h"
#include "ui/qt/ApplicationIdentity.h"
#include "ui/qt/QtEditorControl.h"

namespace vantrel::testing {

namespace {

class QtTestEditor : public TestEditor {
 public:
  QtTestEditor() {
    auto* layout = new QVBoxLayout(&window_);
    layout->addWidget(control_);
    layout->addWidget(new QLineEdit);
    window_.resize(1000, 700);
  }
  platform::Editor& editor() override { return control_->editor(); }
  void show() override {
    window_.show();
    paint();
  }
  void paint() override {
    QApplication::processEvents();
    window_.repaint();
  }
  void type(char character) override {
    control_->setFocus();
    const QString text(QChar::fromLatin1(character));
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(control_, &press);
    QApplication::sendEvent(control_, &release);
  }

 private:
  QWidget window_;
  qt::QtEditorControl* control_ = new qt::QtEditorControl;
};

}  // namespace

std::unique_ptr<TestEditor> makeTestEditor() { return std::make_unique<QtTestEditor>(); }

void processToolkitEvents() { QCoreApplication::processEvents(); }

std::shared_ptr<void> startToolkit(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  auto app = std::make_shared<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // tests close windows at will
  qt::registerApplicationIdentity();
  platform::setMessagePump([] { QCoreApplication::processEvents(); });
  return app;
}

}  // namespace vantrel::testing
