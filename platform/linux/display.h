// Whether a Linux process has a display to show windows on, found without starting any window
// system: a process that never shows a window never loads one.
#pragma once

#include <string>
#include <string_view>

namespace velmora::linux_platform {

// The window-system platform this process could show windows on, as Qt names it: the one
// QT_QPA_PLATFORM names (an X or Wayland one only when its display answers), else "xcb" for an
// X display that answers at DISPLAY, else "wayland" for a compositor that answers at
// WAYLAND_DISPLAY; empty when there is none. Looked at anew at each call.
//   DISPLAY=:0 (a server listening)          -> "xcb"
//   QT_QPA_PLATFORM=offscreen, no display    -> "offscreen"
//   QT_QPA_PLATFORM=xcb, DISPLAY=:7 (nobody) -> ""
std::string DisplayPlatform();

// Whether a person could answer a window on the platform: an X or Wayland one. Offscreen,
// minimal or vnc windows nobody sees at the machine, and an empty platform has no windows.
bool InteractivePlatform(std::string_view platform);

}  // namespace velmora::linux_platform
