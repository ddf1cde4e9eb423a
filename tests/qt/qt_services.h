// The Qt views as a Linux host gets them: filled in by the plugin's entry point, with the
// terminal's box behind the window boxes and the host's unattended switch.
#pragma once

#include <memory>

#include "linux/console_dialogs.h"
#include "qt/qt_application.h"
#include "qt/qt_plugin.h"

namespace velmora::qt {

// What a host tells the views of this test process, which has its own QApplication.
inline std::shared_ptr<const GuiSession> TestSession() {
  return std::make_shared<GuiSession>(std::string(), false, &linux_platform::UnattendedMode);
}

inline void AddQtServices(Services& services) {
  if (!services.message_box)
    services.message_box = std::make_shared<linux_platform::ConsoleMessageBox>();
  GuiPluginContext context;
  context.unattended = &linux_platform::UnattendedMode;
  velmora_qt_add_services(&services, &context);
}

}  // namespace velmora::qt
