// The window-system services of a Linux process: stand-ins that load the plugin on first need.
#pragma once

#include "velmora/services.h"

namespace velmora::linux_platform {

// Puts in front of `services` the stand-ins for what a window system provides: message box,
// events, pictures, bitmaps, camera, file dialog, capture window and system windows. The
// message box and event pump already there (the terminal's) answer whenever the window system
// cannot; the clock, locale, system queries and disk already there are what the plugin's
// windows are built on. Each stand-in decides at each request whether a window could be shown
// (linux/display.h) and only then loads the plugin, once per process.
void AddWindowSystem(Services& services);

// Whether the window-system plugin is loaded in this process (by a stand-in, or because the
// program linked it).
bool WindowSystemLoaded();

}  // namespace velmora::linux_platform
