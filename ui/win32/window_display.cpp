#include "win32/window_display.h"

#include "win32/twips.h"

namespace velmora::win32ui {

ScreenMetrics Win32WindowDisplay::Screen() {
  const Twips twips;
  const double tpp_x = twips.PerPixelX();
  const double tpp_y = twips.PerPixelY();
  return {GetSystemMetrics(SM_CXSCREEN) * tpp_x, GetSystemMetrics(SM_CYSCREEN) * tpp_y, tpp_x,
          tpp_y};
}

std::int32_t Win32WindowDisplay::ColorPlanes() {
  HDC dc = GetDC(window_);
  const int planes = dc != nullptr ? GetDeviceCaps(dc, PLANES) : 1;
  if (dc != nullptr) ReleaseDC(window_, dc);
  return planes;
}

std::int32_t Win32WindowDisplay::BitsPerPixel() {
  HDC dc = GetDC(window_);
  const int bits = dc != nullptr ? GetDeviceCaps(dc, BITSPIXEL) : 0;
  if (dc != nullptr) ReleaseDC(window_, dc);
  return bits;
}

bool Win32WindowDisplay::MousePresent() { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }

CursorPosition Win32WindowDisplay::Cursor() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

}  // namespace velmora::win32ui
