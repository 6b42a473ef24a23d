#include "ui/qt/frmAbout.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "shell/AboutDialogDesign.h"
#include "shell/StartupArguments.h"
#include "ui/qt/Form1.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Twips.h"

// The picture lives in a resource of this static library; it must be
// registered by name from the global namespace.
static void loadAboutResources() { Q_INIT_RESOURCE(about); }

namespace vantrel::qt {

namespace {

QFont msSansSerif(double points, bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);  // where that font is missing
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QFont aboutFont(shell::AboutFont kind) {
  switch (kind) {
    case shell::AboutFont::Title: {
      QFont font(QStringLiteral("MS Serif"));
      font.setStyleHint(QFont::Serif);
      font.setPointSize(12);
      font.setBold(true);
      return font;
    }
    case shell::AboutFont::Version:
      return msSansSerif(9.75, true);
    case shell::AboutFont::Regular:
      return msSansSerif(8.25, false);
    case shell::AboutFont::Dialog:
      break;
  }
  return msSansSerif(8.25, true);
}

void place(QWidget* widget, const shell::AboutPlaceDesign& design, QWidget* dialog) {
  widget->setObjectName(QString::fromLatin1(design.name));
  widget->setGeometry(twipsToPixels(design.left, dialog), twipsToPixels(design.top, dialog),
                      twipsToPixels(design.width, dialog), twipsToPixels(design.height, dialog));
}

// Where the designed font is missing its substitute may run wider: shrink a
// one-line label's font until the text fits its width.
void fitToWidth(QLabel* label) {
  QFont font = label->font();
  while (font.pointSizeF() > 6.0 &&
         QFontMetrics(font).horizontalAdvance(label->text()) > label->width()) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  label->setFont(font);
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  loadAboutResources();
  setObjectName(QStringLiteral("frmAbout"));
  setFont(aboutFont(shell::AboutFont::Dialog));
  setFixedSize(twipsToPixels(shell::kAboutWidth, this), twipsToPixels(shell::kAboutHeight, this));
  setWindowTitle(fromUtf8(shell::aboutTitle()));

  auto* image = new QLabel(this);
  image->setPixmap(QPixmap(QStringLiteral(":/about/about.jpg")));
  image->setScaledContents(true);
  place(image, shell::kAboutPicture, this);

  for (const shell::AboutLabelDesign& design : shell::kAboutLabels) {
    // A plain-text label shows "&" as it is.
    auto* label = new QLabel(fromUtf8(shell::aboutLabelText(design)), this);
    label->setTextFormat(Qt::PlainText);
    label->setFont(aboutFont(design.font));
    place(label, {design.name, design.left, design.top, design.width, design.height}, this);
    if (design.wraps) {
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
      fitToWidth(label);
    }
  }
  for (const shell::AboutPlaceDesign& design : shell::kAboutSeparators) {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    place(line, design, this);
    line->setFixedHeight(2);
  }

  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  place(cmdOK_, shell::kAboutOkButton, this);
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::pressOk);
}

frmAbout::~frmAbout() = default;

void frmAbout::start(const QStringList& arguments) {
  std::vector<std::string> given;
  for (qsizetype i = 1; i < arguments.size(); ++i) given.push_back(toUtf8(arguments[i]));
  const shell::StartupRequest request = shell::readStartupArguments(given);
  if (request.fileToOpen) fileToOpen_ = *request.fileToOpen;
  if (request.skipAbout) {
    cmdOK_->click();
  } else {
    show();
  }
}

void frmAbout::pressOk() {
  if (!mainWindow_) mainWindow_ = std::make_unique<Form1>();
  mainWindow_->show();
  close();
  if (!fileToOpen_.empty()) {
    // Once the window is on screen, so the user sees the conversion run.
    QTimer::singleShot(0, mainWindow_.get(), [window = mainWindow_.get(), path = fileToOpen_] {
      window->openFile(path);
    });
    fileToOpen_.clear();
  }
}

}  // namespace vantrel::qt
