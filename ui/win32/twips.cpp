#include "win32/twips.h"

#include <cmath>

namespace velmora::win32ui {

namespace {

// The screen's pixels per inch, horizontally or vertically; 96 when the screen does not say.
int ScreenDpi(int index) {
  HDC dc = GetDC(nullptr);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, index) : 0;
  if (dc != nullptr) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

Twips::Twips() : dpi_x_(ScreenDpi(LOGPIXELSX)), dpi_y_(ScreenDpi(LOGPIXELSY)) {}

int Twips::X(double twips) const { return static_cast<int>(std::lround(twips * dpi_x_ / 1440.0)); }
int Twips::Y(double twips) const { return static_cast<int>(std::lround(twips * dpi_y_ / 1440.0)); }

RECT Twips::Rect(double left, double top, double width, double height) const {
  const int x = X(left);
  const int y = Y(top);
  return RECT{x, y, x + X(width), y + Y(height)};
}

}  // namespace velmora::win32ui
