// Automation dates: a double day number counted from 30 December 1899 (day 0).
#pragma once

#include <cstdint>

namespace velmora {

// A date-time as the automation runtime holds it. The whole part counts days from
// 30 December 1899; the fraction is the time of day and is read without its sign, so -1.25 is
// 29 December 1899 06:00.
struct Date {
  double serial = 0.0;
  friend constexpr bool operator==(Date, Date) = default;
};

struct CivilDate {
  int year = 1899;  // [100, 9999] for dates in the automation range
  int month = 12;   // [1, 12]
  int day = 30;     // [1, 31]
  friend constexpr bool operator==(CivilDate, CivilDate) = default;
};

struct CivilTime {
  int hour = 0;    // [0, 23]
  int minute = 0;  // [0, 59]
  int second = 0;  // [0, 59]
  friend constexpr bool operator==(CivilTime, CivilTime) = default;
};

struct CivilDateTime {
  CivilDate date;
  CivilTime time;
};

// First and last day numbers of the automation range: 1 January 100 and 31 December 9999.
inline constexpr double kMinDateSerial = -657434.0;
inline constexpr double kMaxDateSerial = 2958465.0;

// Days from 1 January 1970 of a proleptic Gregorian date; valid for any year in int range.
// DaysFromCivil({1970, 1, 1}) == 0
std::int64_t DaysFromCivil(CivilDate date);
// The inverse of DaysFromCivil.
CivilDate CivilFromDays(std::int64_t days);

// Day number of a calendar date in the automation count: SerialFromCivil({2009, 3, 15}) == 39887.
std::int64_t SerialFromCivil(CivilDate date);

// True when the value is a date of the automation range (1 January 100 to 31 December 9999).
bool IsValidDate(Date date);

// The date value of a calendar date and time of day; the caller checks the range.
Date MakeDate(CivilDate date, CivilTime time = {});
// Calendar date and time of day of a value, the time rounded to the nearest second.
// The value must be in the automation range.
CivilDateTime SplitDate(Date date);

// Day of the week, 1 = Sunday .. 7 = Saturday.
int Weekday(CivilDate date);

}  // namespace velmora
