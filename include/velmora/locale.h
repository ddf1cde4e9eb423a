// What the library needs to know of the user's locale and clock.
#pragma once

#include <array>
#include <string>

#include "velmora/date.h"

namespace velmora {

// Order of day, month and year in the locale's short dates.
enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay };

// The locale's data, delivered as a value by a platform backend (ICU on Linux, NLS on Windows).
// Every name is spelled as the locale spells it.
struct LocaleData {
  std::string name = "es_MX";  // the locale's name, as the backend was asked for it
  bool spanish = true;         // the library's own messages are in Spanish for es_*
  char16_t decimal_mark = u'.';
  char16_t group_mark = u',';
  std::array<std::u16string, 7> day_names;     // Sunday first
  std::array<std::u16string, 7> day_abbrevs;   // Sunday first
  std::array<std::u16string, 12> month_names;  // January first
  std::array<std::u16string, 12> month_abbrevs;
  std::u16string am;  // before-noon designator, e.g. "a. m." (with a no-break space)
  std::u16string pm;  // after-noon designator
  // The locale's full date style as a pattern of ICU's pattern syntax, e.g.
  // "EEEE, d 'de' MMMM 'de' y" for es_MX.
  std::u16string long_date_pattern;
  DateOrder date_order = DateOrder::kDayMonthYear;
  char16_t date_separator = u'/';
};

// The Spanish-Mexico data built into the library: what the library answers when no backend
// is at hand (tests, the fuzzer). Names as CLDR spells them for es_MX.
LocaleData SpanishMexico();
// The same for English (United States).
LocaleData EnglishUnitedStates();

// The current local date and time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Now() const = 0;
};

// A clock that always answers the same instant.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date now) : now_(now) {}
  Date Now() const override { return now_; }

 private:
  Date now_;
};

}  // namespace velmora
