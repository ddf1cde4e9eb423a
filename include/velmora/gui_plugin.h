// The contract between a host's services and a window-system plugin: a shared library, loaded
// only when a process first needs a box or a window, that fills in the services a window system
// provides (message boxes as windows, pending window events, pictures, the camera, the open-file
// dialog, the capture window and the two system-information windows).
//
// On Linux the plugin is libvelmora-qt.so.1; the host code that loads it is the one place that
// assembles a process's Services (velmora::linux_platform::LinuxServices). The host fills what
// needs no window system first (clock, locale, system queries, the disk, a message box on the
// terminal and an event pump with nothing to run), then hands that bundle to the plugin, which
// replaces what it can do better and keeps the terminal box for the boxes nobody could answer
// as windows.
#pragma once

#include "velmora/services.h"

namespace velmora {

// Raised whenever the layout of GuiPluginContext or the meaning of the entry point changes; a
// plugin handed another number fills nothing, and the host then answers without windows.
inline constexpr int kGuiPluginAbi = 1;

// What the host tells the plugin. `abi` comes first in every version, so that any plugin can
// read it.
struct GuiPluginContext {
  int abi = kGuiPluginAbi;
  // The window-system platform the host found a display for, as Qt names it ("xcb", "wayland",
  // or the one QT_QPA_PLATFORM names, e.g. "offscreen"); empty when there is none.
  const char* platform = "";
  // Whether a person could answer a window on that platform: an X or Wayland display, not an
  // offscreen one.
  bool interactive = false;
  // Whether nobody is there to answer boxes and windows (the library's unattended switch), asked
  // at each use; null means somebody always is.
  bool (*unattended)() = nullptr;
};

// The entry point's name and type: the plugin exports it with C linkage.
inline constexpr const char* kGuiPluginEntry = "velmora_qt_add_services";
using GuiPluginEntry = void (*)(Services* services, const GuiPluginContext* context);

}  // namespace velmora
