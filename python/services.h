// The platform services behind every object the Python module creates.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "velmora/date.h"
#include "velmora/services.h"

namespace velmora::python {

// The services of one velmora.Dolva or velmora.APIs: the Linux services
// (linux_platform::LinuxServices) for the named locale (the environment's when empty), on the
// system clock or a clock fixed at `now`.
std::shared_ptr<Services> ModuleServices(const std::string& locale_name, std::optional<Date> now);

}  // namespace velmora::python
