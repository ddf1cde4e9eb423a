// What the system-information windows ask about the screen, the display device and the mouse.
#pragma once

#include <cstdint>

#include "velmora/sysinfo_windows.h"
#include "win32/win_api.h"

namespace velmora::win32ui {

// The screen, device and mouse as a window sees them: GetSystemMetrics, GetDeviceCaps of the
// window's device context, GetCursorPos.
class Win32WindowDisplay final : public WindowDisplay {
 public:
  explicit Win32WindowDisplay(const HWND& window) : window_(window) {}
  ScreenMetrics Screen() override;
  std::int32_t ColorPlanes() override;
  std::int32_t BitsPerPixel() override;
  bool MousePresent() override;
  CursorPosition Cursor() override;

 private:
  const HWND& window_;
};

}  // namespace velmora::win32ui
