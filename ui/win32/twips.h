// Lengths of the library's windows, given in twips (1/1440 inch), as pixels of the screen.
#pragma once

#include "win32/win_api.h"

namespace velmora::win32ui {

// Twips to pixels (and back) with the screen's pixels per inch, read when the object is made.
// Every length a window model gives is converted here.
class Twips {
 public:
  Twips();
  int X(double twips) const;
  int Y(double twips) const;
  // A rectangle given as left, top, width and height.
  RECT Rect(double left, double top, double width, double height) const;
  // Twips in one pixel: 15 at 96 pixels per inch.
  double PerPixelX() const { return 1440.0 / dpi_x_; }
  double PerPixelY() const { return 1440.0 / dpi_y_; }

 private:
  int dpi_x_;
  int dpi_y_;
};

}  // namespace velmora::win32ui
