#include "services.h"

#include "linux/services.h"

namespace velmora::python {

std::shared_ptr<Services> ModuleServices(const std::string& locale_name, std::optional<Date> now) {
  // Boxes open as windows where a person can answer them, on the process's main thread; on the
  // terminal (or unattended) otherwise.
  auto services = linux_platform::LinuxServices(locale_name);
  if (now) services->clock = std::make_shared<FixedClock>(*now);
  return services;
}

}  // namespace velmora::python
