#pragma once
#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace vantrel::qt {

class Form1;

// The first window: title, version, picture, credits and a notice. OK
// opens the main window (created once) and closes this dialog; closing the
// dialog any other way leaves no window, so the program ends.
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);
  ~frmAbout() override;

  // Shows the dialog, or, when the command line carries anything after the
  // program name, presses OK at once without showing it. A file named there
  // opens once the main window shows.
  void start(const QStringList& arguments);

  // The main window once OK was pressed, else nullptr.
  Form1* mainWindow() const { return mainWindow_.get(); }

 private:
  void pressOk();
  QPushButton* cmdOK_ = nullptr;
  std::unique_ptr<Form1> mainWindow_;
  std::string fileToOpen_;
};

}  // namespace vantrel::qt
