// The Linux answers to the library's platform services.
#pragma once

#include <memory>
#include <string>

#include "velmora/services.h"

namespace velmora::linux_platform {

// The user's locale name from the environment (LC_ALL, LC_TIME, LANG, in that order), without
// encoding or modifier ("es_MX.UTF-8" -> "es_MX"); "es_MX" when the environment names none
// (unset, "C" or "POSIX").
std::string EnvironmentLocaleName();

// The locale's names, designators, date forms and number marks from ICU's (CLDR) data.
LocaleData IcuLocaleData(const std::string& name);

// The local wall clock.
class SystemClock final : public Clock {
 public:
  Date Now() const override;
};

// Services for a process on Linux: the system clock and the named locale (the environment's
// when empty).
std::shared_ptr<Services> LinuxServices(const std::string& locale_name = {});

}  // namespace velmora::linux_platform
