#include "ui/qt/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "shell/Twips.h"

namespace vantrel::qt {

double twipsPerPixel(const QWidget* widget) {
  double dpi = 0;
  if (widget != nullptr) {
    dpi = widget->logicalDpiX();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    dpi = screen->logicalDotsPerInchX();
  }
  return shell::twipsPerPixel(dpi);
}

int twipsToPixels(double twips, const QWidget* widget) {
  return shell::twipsToPixels(twips, twipsPerPixel(widget));
}

double pixelsToTwips(int pixels, const QWidget* widget) { return pixels * twipsPerPixel(widget); }

}  // namespace vantrel::qt
