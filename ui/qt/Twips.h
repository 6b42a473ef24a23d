#pragma once

class QWidget;

// Twips (1/1440 inch) to pixels and back, at the widget's logical DPI.
namespace vantrel::qt {

double twipsPerPixel(const QWidget* widget);
int twipsToPixels(double twips, const QWidget* widget);
double pixelsToTwips(int pixels, const QWidget* widget);

}  // namespace vantrel::qt
