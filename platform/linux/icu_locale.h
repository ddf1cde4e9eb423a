// The locale of a Linux process: its name from the environment, its data from ICU.
#pragma once

#include <string>

#include "velmora/locale.h"

namespace velmora::linux_platform {

// The user's locale name from the environment (LC_ALL, LC_TIME, LANG, in that order), without
// encoding or modifier ("es_MX.UTF-8" -> "es_MX"); "es_MX" when the environment names none
// (unset, "C" or "POSIX").
std::string EnvironmentLocaleName();

// The locale's names, designators, date forms and number marks from ICU's (CLDR) data.
LocaleData IcuLocaleData(const std::string& name);

}  // namespace velmora::linux_platform
