#include "shell/window/frmAbout.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/ui/Twips.h"
#include "shell/window/AppIdentity.h"
#include "shell/window/Form1.h"

// The picture lives in a resource of this static library; it must be
// registered by name from the global namespace.
static void loadAboutResources() { Q_INIT_RESOURCE(about); }

namespace vantrel::shell {

void registerApplicationIdentity() {
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
  QCoreApplication::setApplicationVersion(
      QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
}

namespace {

QFont msSansSerif(double points, bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);  // where that font is missing
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QString noticeText() {
  QString text;
  text += QStringLiteral("This program edits the simulator's content files through a converter. ");
  text += QStringLiteral("Every save keeps a backup of the original .bin file beside it. ");
  text += QStringLiteral("Still, keep your own copies of files you cannot replace: ");
  text += QStringLiteral("the program comes without any warranty.");
  text += QStringLiteral("\r\n\r\n");
  return text;
}

// A plain-text label at a place given in twips.
QLabel* label(QWidget* dialog, const char* name, const QString& text, int left, int top, int width,
              int height, const QFont& font) {
  auto* l = new QLabel(text, dialog);
  l->setObjectName(QString::fromLatin1(name));
  l->setTextFormat(Qt::PlainText);
  l->setFont(font);
  l->setGeometry(platform::twipsToPixels(left, dialog), platform::twipsToPixels(top, dialog),
                 platform::twipsToPixels(width, dialog), platform::twipsToPixels(height, dialog));
  return l;
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

void separator(QWidget* dialog, int top, int length) {
  auto* line = new QFrame(dialog);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(0, platform::twipsToPixels(top, dialog), platform::twipsToPixels(length, dialog),
                    2);
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  loadAboutResources();
  setObjectName(QStringLiteral("frmAbout"));
  setFont(msSansSerif(8.25, true));
  setFixedSize(platform::twipsToPixels(6165, this), platform::twipsToPixels(4560, this));
  const QString title = QString::fromLatin1(kApplicationTitle);
  setWindowTitle(QStringLiteral("About ") + title);

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(QPixmap(QStringLiteral(":/about/about.jpg")));
  image->setScaledContents(true);
  image->setGeometry(platform::twipsToPixels(120, this), platform::twipsToPixels(240, this),
                     platform::twipsToPixels(2055, this), platform::twipsToPixels(1125, this));

  const QFont regular = msSansSerif(8.25, false);
  QFont titleFont(QStringLiteral("MS Serif"));
  titleFont.setStyleHint(QFont::Serif);
  titleFont.setPointSize(12);
  titleFont.setBold(true);
  // A plain-text label shows "&" as it is: one ampersand.
  label(this, "lblTitle", title + QStringLiteral(" for Vista & XP"), 2280, 240, 3765, 480,
        titleFont);
  label(this, "lblVersion",
        QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision),
        2280, 840, 3885, 225, msSansSerif(9.75, true));
  label(this, "lblDescription",
        QStringLiteral("A .bin file editor and texture converter for the rail simulator"), 840, 1560,
        4920, 195, regular);
  label(this, "lblCredit1", QStringLiteral("Written by the Vantrel BIN Editor developers."), 120,
        1800, 5535, 255, regular);
  label(this, "lblCredit2", QStringLiteral("Built on Qt 6, QScintilla and pugixml."), 120, 2040, 5535,
        255, regular);
  label(this, "lblContact1", QStringLiteral("Questions and bug reports:"), 1080, 2280, 3975, 255,
        regular);
  label(this, "lblContact2", QStringLiteral("the project's issue tracker, see the README."), 1080,
        2520, 3975, 255, regular);
  for (QLabel* oneLine : findChildren<QLabel*>()) {
    if (oneLine->objectName() != QStringLiteral("Image1")) fitToWidth(oneLine);
  }
  separator(this, 0, 6030);
  separator(this, 2880, 6120);
  QLabel* disclaimer = label(this, "lblDisclaimer", noticeText(), 120, 3120, 4815, 1275, font());
  disclaimer->setWordWrap(true);
  disclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setGeometry(platform::twipsToPixels(5160, this), platform::twipsToPixels(3720, this),
                      platform::twipsToPixels(900, this), platform::twipsToPixels(345, this));
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::pressOk);
}

frmAbout::~frmAbout() = default;

void frmAbout::start(const QStringList& arguments) {
  if (arguments.size() > 1) {
    cmdOK_->click();
  } else {
    show();
  }
}

void frmAbout::pressOk() {
  if (!mainWindow_) mainWindow_ = std::make_unique<Form1>();
  mainWindow_->show();
  close();
}

}  // namespace vantrel::shell
