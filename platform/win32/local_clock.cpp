#include "win32/local_clock.h"

#include "win32/win_api.h"

namespace velmora::win32 {

Date LocalClock::Now() const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return MakeDate({t.wYear, t.wMonth, t.wDay}, {t.wHour, t.wMinute, t.wSecond});
}

}  // namespace velmora::win32
