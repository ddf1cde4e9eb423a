// Calendar arithmetic, ages and elapsed periods.
//
// The routines a host calls are methods of Dolva:
//   d.Bisiesto(year)        leap year by the divisible-by-4 rule alone, so 1900 counts:
//                           Bisiesto(1900) == true, Bisiesto(2023) == false. Text is read as a
//                           number (13 when it is not one), Empty is year 0 (true), Null is
//                           false, a year left out is the clock's current year.
//   d.DiasMes(m, y)         days in month m of year y, February by Bisiesto, 0 for a month
//                           outside 1-12: DiasMes(2, 1900) == 29, DiasMes(13, 2009) == 0.
//   d.CalcFDias(D, M, y)    GregorianDayNumber(D, M, y): CalcFDias(1, 1, 2000) == 730488.
//   d.DiasFechas(a, b)      calendar days from a to b, times of day ignored:
//                           DiasFechas(28/02/2024, 01/03/2024) == 2.
//   d.Edad(a, b, mode, drop_zeros, show_days)
//                           age from a to b in years, months and days; mode "L" (words), "C"
//                           (initials) or "N" (numbers), anything else becoming "L" in the
//                           caller's variable: Edad(20/08/1975, 15/03/2009) ==
//                           "33 Años, 06 Meses, 27 Días."; with show_days "... (12,261)".
//   d.FechaTrans(born, on)  time since a birth date as of `on` (today when `on` is left out or
//                           earlier than the birth): "33 Años, 6 Meses, 26 Dias.".
//   d.Lapso(from, to)       the span between two date-times:
//                           Lapso(15/03/2009 08:00, 15/03/2009 17:30) == "09:30:00 Hrs.";
//                           Lapso(01/01/2009 08:00, 15/03/2009 17:30) ==
//                           "2 Meses, 14 Días y 09:30:00 Hrs.".
//
// Edad and FechaTrans keep the day arithmetic their callers' reports were built on (a span read
// as a date counted from 30 December 1899 or from 1 January 2000), with its known results for
// short or reversed spans (Edad of 01/01/2009 to 02/01/2009 is "-1 Años11 Meses, 01 Día.").
//
// Lapso takes the calendar date of each argument and its time of day written "hh:mm:ss" and
// read back through Hrs2Seg, and shows only the time of day ("hh:mm:ss Hrs.") when the whole-day
// count of the span, less one unless the two times of day add up to a full day, is not positive and
// the span is at most one day. Otherwise it shows the real elapsed years, months and days
// (ElapsedBetween below) of the span followed by " y hh:mm:ss Hrs.": a month counts when its
// anniversary of the first date has been reached, the anniversary falling on the month's last day
// when the month is shorter (31 January to 28 February 2009 is one month; to 1 March 2009 one month
// and one day). When the second time of day is earlier than the first, one day is borrowed, so
// 01/01/2009 20:00 to 03/01/2009 10:00 is "1 Día y 14:00:00 Hrs."; a span under a day then shows
// its hours alone. A reversed span shows the difference of the two times of day only, as
// Seg2Hrs writes a negative count (17:30 to 08:00 of the day before: "-10:-30:00 Hrs.").
// The separators are the fixed ones of the report: a year count without months is followed
// by ", ", as in "9 Años,  y 01:00:00 Hrs.".
#pragma once

#include <cstdint>

#include "velmora/currency.h"
#include "velmora/date.h"

namespace velmora {

// Gregorian rule: divisible by 4, except centuries not divisible by 400.
// IsGregorianLeapYear(2000) == true; IsGregorianLeapYear(1900) == false
constexpr bool IsGregorianLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in a month of the Gregorian calendar; month in [1, 12]. GregorianMonthDays(2024, 2) == 29
int GregorianMonthDays(std::int64_t year, int month);

// Serial day number of a date in which consecutive days of the proleptic Gregorian calendar
// have consecutive numbers: the ordinal of the date (1 January of year 1 = 1) plus 368. The
// month is rounded halves to even to pick its table entry; outside 1-12 it raises 9. Fractions
// of day and year are kept: the year's quarter-century terms take the floor of the exact
// quotient. A result beyond the currency range, or a year beyond the 32-bit range, raises 6.
// GregorianDayNumber(15, 3, 2009) == 733849; GregorianDayNumber(30, 12, 1899) == 693962
Currency GregorianDayNumber(Currency day, Currency month, Currency year);

// The same count for a calendar date: DayNumber({2000, 1, 1}) == 730488.
std::int64_t DayNumber(CivilDate date);

// Whole years, months and days from one date to a later one (see the note above).
struct ElapsedPeriod {
  int years = 0;   // [0, 9899]
  int months = 0;  // [0, 11]
  int days = 0;    // [0, 30]
  friend constexpr bool operator==(ElapsedPeriod, ElapsedPeriod) = default;
};
// ElapsedBetween({2009, 1, 1}, {2009, 3, 15}) == {0, 2, 14}; `to` must not precede `from`.
ElapsedPeriod ElapsedBetween(CivilDate from, CivilDate to);

}  // namespace velmora
