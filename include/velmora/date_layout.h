// Dates and times written by a layout: the one place where the library turns a date into text.
//
// A layout is read from left to right, letters in either case:
//   d dd          day of the month, as is or in two digits        "5"  "05"
//   ddd dddd      the locale's abbreviated or full weekday name   "dom" "domingo"
//   ddddd         the short date, four-digit year, locale order   "15/03/2009"
//   dddddd        the locale's long date form                     "domingo, 15 de marzo de 2009"
//   w             weekday number, Sunday = 1
//   m mm          month number (minutes right after an hour or right before seconds)
//   mmm mmmm      the locale's abbreviated or full month name     "mar" "marzo"
//   q             quarter; y day of the year; yy yyyy two- and four-digit year
//   h hh          hour (12-hour clock when the layout has a designator); n nn minutes
//   s ss          seconds
//   AmPm          the locale's before-noon or after-noon designator, as the locale spells it
//   AM/PM am/pm A/P a/p   those letters themselves, in the case written
//   \x and "text" are copied as they stand; every other character is copied.
// So "hh:mm:ss AmPm." writes "05:30:00 p. m.." for 17:30 in es_MX, and "DD/MM/YYYY" is
// "dd/mm/yyyy".
#pragma once

#include <string>
#include <string_view>

#include "velmora/date.h"
#include "velmora/locale.h"

namespace velmora {

// The layouts the date routines use, named for what they write.
namespace layouts {
inline constexpr std::u16string_view kLongDate = u"dddddd";
inline constexpr std::u16string_view kShortHeading = u"ddd, dd-mmm-yyyy";
inline constexpr std::u16string_view kGreetingDate = u"dddd dd-mmm-yyyy";
inline constexpr std::u16string_view kClock12 = u"hh:mm:ss AmPm.";
inline constexpr std::u16string_view kBoxDate = u"dd/mm/yyyy";
inline constexpr std::u16string_view kClock24 = u"hh:mm:ss";
}  // namespace layouts

// Writes a date value by a layout. A value outside the automation range raises 6.
// FormatDateLayout(15 March 2009 17:30, u"ddd, dd-mmm-yyyy", es_MX) == u"dom, 15-mar-2009"
std::u16string FormatDateLayout(Date value, std::u16string_view layout, const LocaleData& loc);

// Writes a calendar date by a pattern of ICU's date pattern syntax, the form in which the locale
// gives its long date: quoted text, E/c (weekday), d, M/L (month), y, and other letters ignored.
// FormatDatePattern({2009, 3, 15}, u"EEEE, d 'de' MMMM 'de' y", es_MX)
//   == u"domingo, 15 de marzo de 2009"
std::u16string FormatDatePattern(CivilDate date, std::u16string_view pattern,
                                 const LocaleData& loc);

// The short date the library writes: two-digit day and month and four-digit year in the
// locale's order and with its separator. ShortDateText({2026, 12, 5}, es_MX) == u"05/12/2026"
std::u16string ShortDateText(CivilDate date, const LocaleData& loc);

// Calendar date and time of a value, raising 6 when it lies outside the automation range.
CivilDateTime SplitDateInRange(Date value);

}  // namespace velmora
