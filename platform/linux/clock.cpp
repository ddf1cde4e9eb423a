#include "clock.h"

#include <sys/time.h>

#include <ctime>

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

}  // namespace velmora::linux_platform
