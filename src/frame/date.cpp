#include "velmora/date.h"

#include <cmath>

namespace velmora {

namespace {
// DaysFromCivil({1899, 12, 30}): day 0 of the automation count, 25 569 days before 1970.
constexpr std::int64_t kSerialEpoch = -25'569;
}  // namespace

std::int64_t DaysFromCivil(CivilDate date) {
  // Eras of 400 years (146 097 days) counted from 1 March of year 0.
  const std::int64_t y = static_cast<std::int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;                          // [0, 399]
  const std::int64_t mp = (date.month + 9) % 12;                   // [0, 11]
  const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;      // [0, 365]
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  return era * 146'097 + doe - 719'468;
}

CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719'468;
  const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  const std::int64_t doe = z - era * 146'097;                                        // [0, 146096]
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;  // [0, 399]
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                  // [0, 365]
  const std::int64_t mp = (5 * doy + 2) / 153;                                       // [0, 11]
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);                    // [1, 31]
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);                     // [1, 12]
  const auto year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

std::int64_t SerialFromCivil(CivilDate date) { return DaysFromCivil(date) - kSerialEpoch; }

bool IsValidDate(Date date) {
  return std::isfinite(date.serial) && date.serial > kMinDateSerial - 1.0 &&
         date.serial < kMaxDateSerial + 1.0;
}

Date MakeDate(CivilDate date, CivilTime time) {
  const auto day = static_cast<double>(SerialFromCivil(date));
  const double frac = (time.hour * 3600.0 + time.minute * 60.0 + time.second) / 86'400.0;
  return Date{day < 0 ? day - frac : day + frac};
}

CivilDateTime SplitDate(Date date) {
  double whole = std::trunc(date.serial);
  double secs = std::nearbyint(std::fabs(date.serial - whole) * 86'400.0);  // [0, 86400]
  if (secs >= 86'400.0) {
    secs = 0;
    whole += date.serial < 0 ? -1.0 : 1.0;
  }
  const auto s = static_cast<int>(secs);
  CivilDateTime out;
  out.date = CivilFromDays(static_cast<std::int64_t>(whole) + kSerialEpoch);
  out.time = CivilTime{s / 3600, s / 60 % 60, s % 60};
  return out;
}

int Weekday(CivilDate date) {
  // 1 January 1970 was a Thursday (5 in the count that starts with Sunday = 1).
  const std::int64_t d = DaysFromCivil(date);
  const std::int64_t wd = (d % 7 + 7 + 4) % 7;  // [0, 6], 0 = Sunday
  return static_cast<int>(wd) + 1;
}

}  // namespace velmora
