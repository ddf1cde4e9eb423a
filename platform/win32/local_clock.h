// The clock of a Windows process.
#pragma once

#include "velmora/services.h"

namespace velmora::win32 {

// The local wall clock (GetLocalTime).
class LocalClock final : public Clock {
 public:
  Date Now() const override;
};

}  // namespace velmora::win32
