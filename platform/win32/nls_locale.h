// The locale's data from the system's national language support (NLS).
#pragma once

#include <string>
#include <string_view>

#include "velmora/locale.h"

namespace velmora::win32 {

// The locale's names, designators, date forms and number marks from the system's NLS data, for
// a locale name such as u"es-MX"; the user's default locale when the name is empty.
LocaleData NlsLocaleData(const std::u16string& name = {});

// An NLS date format in the pattern syntax of LocaleData::long_date_pattern:
// PatternFromNls(u"dddd, d 'de' MMMM 'de' yyyy") == u"EEEE, d 'de' MMMM 'de' yyyy".
// Quoted text is kept as it is; letters NLS does not format become quoted text.
std::u16string PatternFromNls(std::u16string_view format);

}  // namespace velmora::win32
