// Lengths of the library's windows, given in twips (1/1440 inch), as pixels of a widget's
// screen. Every Qt window of the library converts through this one class.
#pragma once

#include <QRect>

class QWidget;

namespace velmora::qt {

// Twips to this widget's pixels, with its screen's dots per inch (96 when it has no screen),
// rounded to the nearest pixel: at 96 dpi Twips(w).X(1440) == 96 and Twips(w).X(7) == 0.
class Twips {
 public:
  explicit Twips(const QWidget* widget);
  int X(double twips) const;
  int Y(double twips) const;
  QRect Rect(double left, double top, double width, double height) const;

 private:
  double dpi_x_;
  double dpi_y_;
};

}  // namespace velmora::qt
