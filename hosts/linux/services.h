// The services of a Linux process, assembled in one place.
#pragma once

#include <memory>
#include <string>

#include "velmora/services.h"

namespace velmora::linux_platform {

// Everything the library's routines ask of Linux, for one Dolva or APIs (or several):
//   clock          the local wall clock (linux/clock.h)
//   locale         ICU's data for `locale_name`, the environment's when empty (linux/icu_locale.h)
//   system         /proc, /etc, statvfs and systemd-logind's restart (linux/linux_sysinfo.h)
//   photo_files    the disk, names matched ignoring case (linux/photo_disk.h)
//   message_box    a window where a person can answer one, else the terminal
//                  (linux/console_dialogs.h), always the terminal when unattended
//   events, pictures, bitmaps, camera, file_dialog, capture_window, system_windows
//                  from the window-system plugin libvelmora-qt.so.1 (velmora/gui_plugin.h)
// The plugin is loaded only when a box, a window, a picture or the camera is first needed and a
// display is there to show it (or the run is unattended, where the windows close themselves
// offscreen); a process that only computes never loads a window system. Without a display, or
// when the plugin cannot be loaded, boxes are asked on the terminal and windows raise the "no
// display" error (5). A process that linked the plugin itself (a Qt host) shares its one copy.
//   auto services = velmora::linux_platform::LinuxServices("es_MX");
//   velmora::Dolva d(services);
std::shared_ptr<Services> LinuxServices(const std::string& locale_name = {});

}  // namespace velmora::linux_platform
