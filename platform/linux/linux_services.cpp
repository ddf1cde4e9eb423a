#include "linux_services.h"

#include <sys/time.h>

#include <ctime>

#include "linux_sysinfo.h"

namespace velmora::linux_platform {

Date SystemClock::Now() const {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm local{};
  const std::time_t secs = tv.tv_sec;
  localtime_r(&secs, &local);
  return MakeDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                  {local.tm_hour, local.tm_min, local.tm_sec});
}

std::shared_ptr<Services> LinuxServices(const std::string& locale_name) {
  auto s = std::make_shared<Services>();
  s->clock = std::make_shared<SystemClock>();
  s->locale = IcuLocaleData(locale_name.empty() ? EnvironmentLocaleName() : locale_name);
  s->system = std::make_shared<LinuxSystemQueries>();
  return s;
}

}  // namespace velmora::linux_platform
