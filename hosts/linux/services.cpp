// The one place where a Linux process's Services are put together.
#include "linux/services.h"

#include "linux/clock.h"
#include "linux/console_dialogs.h"
#include "linux/icu_locale.h"
#include "linux/linux_sysinfo.h"
#include "linux/photo_disk.h"
#include "window_system.h"

namespace velmora::linux_platform {

std::shared_ptr<Services> LinuxServices(const std::string& locale_name) {
  auto services = std::make_shared<Services>();
  services->clock = std::make_shared<SystemClock>();
  services->locale = IcuLocaleData(locale_name.empty() ? EnvironmentLocaleName() : locale_name);
  services->system = std::make_shared<LinuxSystemQueries>();
  services->photo_files = std::make_shared<LinuxPhotoFiles>();
  services->message_box = std::make_shared<ConsoleMessageBox>();
  services->events = std::make_shared<ConsoleEventPump>();
  // The window system's services stand in front of the terminal's, which answer whenever there
  // is no window system to ask.
  AddWindowSystem(*services);
  return services;
}

}  // namespace velmora::linux_platform
