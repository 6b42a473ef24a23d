#include "ui/qt/QtWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vantrel::qt {

shell::PixelRect toPixelRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.width(), rect.height()};
}

std::vector<shell::PixelRect> currentScreenAreas() {
  std::vector<shell::PixelRect> areas;
  for (const QScreen* screen : QGuiApplication::screens())
    areas.push_back(toPixelRect(screen->availableGeometry()));
  return areas;
}

QRect normalFrameGeometry(const QWidget& window) {
  // normalGeometry() is the client area as it is or will be when shown
  // normally (it stays so while maximized or minimized); the frame adds the
  // margins the window has now.
  QRect client = window.normalGeometry();
  if (client.isEmpty()) client = window.geometry();
  const QRect frame = window.frameGeometry();
  const QRect current = window.geometry();
  const int leftMargin = current.left() - frame.left();
  const int topMargin = current.top() - frame.top();
  const int extraWidth = frame.width() - current.width();
  const int extraHeight = frame.height() - current.height();
  return QRect(client.left() - leftMargin, client.top() - topMargin, client.width() + extraWidth,
               client.height() + extraHeight);
}

}  // namespace vantrel::qt
