// The platform services of a process that may show Qt windows.
#pragma once

#include <memory>
#include <string>

#include "velmora/services.h"

namespace velmora::qt {

// Whether this process can show Qt widgets: true when a QApplication exists, or when none
// exists yet and a display is reachable (an X server at DISPLAY, a Wayland compositor at
// WAYLAND_DISPLAY) or QT_QPA_PLATFORM names a platform that needs none (offscreen), or the run
// is unattended (linux_platform::UnattendedMode), where the offscreen platform stands in for a
// missing display; a QApplication is then created and kept for the life of the process. A
// QCoreApplication, or no display at all in an attended run, is false; nothing aborts.
bool EnsureGuiApplication();

// The Qt platform this process would start on: the one QT_QPA_PLATFORM names (an X or Wayland
// one only when its display answers), else "xcb" or "wayland" for a display that answers; empty
// when there is none, where Qt would end the process instead of starting. Chosen once.
const std::string& GuiPlatform();

// Whether a person could answer a window of this process: a QApplication exists, or a display
// is reachable on which one could be created. An offscreen platform a process would have to
// create itself does not count.
bool InteractiveGui();

// The Linux services (clock, locale) with a message box that is a QMessageBox when a person can
// answer it (InteractiveGui) and the console's otherwise, chosen when the box is shown, and an
// event pump that runs the QApplication's events once there is one. Nothing of Qt starts until a
// box is shown, so a command that shows none never needs a display.
std::shared_ptr<Services> QtServices(const std::string& locale_name = {});

}  // namespace velmora::qt
