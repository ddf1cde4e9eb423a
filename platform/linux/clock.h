// The clock of a Linux process.
#pragma once

#include "velmora/date.h"
#include "velmora/locale.h"

namespace velmora::linux_platform {

// The local wall clock, to the second, in the time zone of the process (TZ, else the system's).
class SystemClock final : public Clock {
 public:
  Date Now() const override;
};

}  // namespace velmora::linux_platform
