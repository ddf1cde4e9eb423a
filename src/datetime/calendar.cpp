// Leap years, month lengths and day numbers.
#include "velmora/calendar.h"

#include <limits>

#include "velmora/coerce.h"
#include "velmora/date_layout.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

constexpr std::int64_t kScale = Currency::kScale;

// Floor of a / b for b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Scaled currency rounded to a whole number, halves to even.
constexpr std::int64_t RoundHalfEven(std::int64_t scaled) {
  const std::int64_t q = FloorDiv(scaled, kScale);
  // The remainder taken directly: q * kScale leaves 64 bits for the lowest amounts.
  const std::int64_t r =
      scaled % kScale < 0 ? scaled % kScale + kScale : scaled % kScale;  // [0, 9999]
  return (2 * r > kScale || (2 * r == kScale && (q & 1) != 0)) ? q + 1 : q;
}
static_assert(RoundHalfEven(std::numeric_limits<std::int64_t>::min()) == -922'337'203'685'478);
static_assert(RoundHalfEven(25'000) == 2 && RoundHalfEven(35'000) == 4 &&
              RoundHalfEven(-25'000) == -2);

// DaysFromCivil of 1 January of year 1 is -719 162; that day is number 1 + 368.
constexpr std::int64_t kDayNumberOffset = 719'162 + 1 + 368;

}  // namespace

int GregorianMonthDays(std::int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsGregorianLeapYear(year) ? 29 : kDays[month - 1];
}

std::int64_t DayNumber(CivilDate date) { return DaysFromCivil(date) + kDayNumberOffset; }

namespace {

// Days before each month of a common year.
constexpr std::uint32_t kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Days from 1 March to the first of each month, January first; and the difference between
// that count and the day number (1 January 2000 is day 876 523 of it and day number 730 488).
constexpr std::uint32_t kFromMarch[] = {306, 337, 0, 31, 61, 92, 122, 153, 184, 214, 245, 275};
constexpr std::int64_t kMarchCountOffset = 146'035;

// The general case: fractional months and years, and years near the 32-bit limits.
[[gnu::noinline, gnu::cold]] Currency GeneralDayNumber(Currency day, Currency month,
                                                       Currency year) {
  const std::int64_t m = RoundHalfEven(month.scaled());
  if (m < 1 || m > 12) throw Error(err::kSubscript);

  // The leap test works on the year as a 32-bit whole number, which also bounds every term
  // below: |y| < 2^31 * 10^4 < 2^45 scaled, so 365 * y < 2^54 and the sum stays far inside
  // 64 bits until the day is added.
  const std::int64_t whole_year = RoundHalfEven(year.scaled());
  if (whole_year < std::numeric_limits<std::int32_t>::min() ||
      whole_year > std::numeric_limits<std::int32_t>::max())
    throw Error(err::kOverflow);
  const std::int64_t y = year.scaled();  // (-2^45, 2^45)
  std::int64_t n = static_cast<std::int64_t>(kBefore[m - 1] + 3) * kScale + 365 * y +
                   FloorDiv(y, 4 * kScale) * kScale - FloorDiv(y, 100 * kScale) * kScale +
                   FloorDiv(y, 400 * kScale) * kScale;
  if (IsGregorianLeapYear(whole_year) && month.scaled() <= 2 * kScale) n -= kScale;
  std::int64_t sum = 0;
  if (__builtin_add_overflow(n, day.scaled(), &sum)) throw Error(err::kOverflow);
  return Currency::FromScaled(sum);
}

inline Currency DayNumberOf(Currency day, Currency month, Currency year) {
  // Whole months of 1-12 and whole years from 0 to 400 000 take the short road: 32-bit
  // unsigned quotients (the scaled year stays below 2^32) and no branch on the year itself,
  // which random years would defeat. A negative amount turns into a huge unsigned one and goes
  // the general way, which follows the table-and-leap-day steps literally.
  static_assert(400'000ULL * kScale < (1ULL << 32), "the scaled year must fit 32 bits");
  const auto ys = static_cast<std::uint64_t>(year.scaled());
  const auto ms = static_cast<std::uint64_t>(month.scaled()) - kScale;  // month 1 -> 0
  constexpr std::uint32_t kScale32 = kScale;
  // Out-of-range values are cut to 32 bits here but rejected below before any use.
  const auto ys32 = static_cast<std::uint32_t>(ys);
  const auto ms32 = static_cast<std::uint32_t>(ms);
  const std::uint32_t y = ys32 / kScale32;  // [0, 400 000] on the short road
  const std::uint32_t m = ms32 / kScale32;  // [0, 11] on the short road
  const bool short_road = (ys <= 400'000ULL * kScale) & (ms <= 11ULL * kScale) &
                          (y * kScale32 == ys32) & (m * kScale32 == ms32);
  if (!short_road) return GeneralDayNumber(day, month, year);
  // The same count taken from 1 March: January and February belong to the year before, so
  // the leap day falls at the end of the counting year and needs no test. Four centuries are
  // added so that year 0's January stays unsigned; the offset takes their 146 097 days off
  // again together with the change of origin.
  const std::uint32_t counting_year = y + 400 - (m <= 1 ? 1 : 0);  // [399, 400 400]
  const std::uint32_t centuries = counting_year / 100;             // [3, 4004]
  const std::uint32_t days = 365 * counting_year + counting_year / 4 - centuries + centuries / 4 +
                             kFromMarch[m];  // [145 999, 146 385 975]
  const std::int64_t number = std::int64_t{days} - kMarchCountOffset;
  std::int64_t sum = 0;
  if (__builtin_add_overflow(number * kScale, day.scaled(), &sum)) throw Error(err::kOverflow);
  return Currency::FromScaled(sum);
}

}  // namespace

Currency GregorianDayNumber(Currency day, Currency month, Currency year) {
  return DayNumberOf(day, month, year);
}

bool Dolva::Bisiesto(Variant& Anio) {
  if (Anio.IsNull()) return false;
  if (Anio.IsMissing()) {
    // The current year as the clock's date writes it.
    const Variant year(FormatDateLayout(services().clock->Now(), u"yyyy", locale()));
    return ToLong(year, locale()) % 4 == 0;
  }
  return ToLong(Anio, locale()) % 4 == 0;
}

std::int16_t Dolva::DiasMes(std::int16_t& Mes, std::int16_t& Ano) {
  switch (Mes) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    case 2: {
      Variant year(Ano);
      return Bisiesto(year) ? 29 : 28;
    }
    default: return 0;
  }
}

Currency Dolva::CalcFDias(Currency& D, Currency& M, Currency& y) { return DayNumberOf(D, M, y); }

Currency Dolva::DiasFechas(Date& FecIni, Date& FecFin) {
  const std::int64_t from = DayNumber(SplitDateInRange(FecIni).date);
  const std::int64_t to = DayNumber(SplitDateInRange(FecFin).date);
  return Currency::FromScaled((to - from) * kScale);  // |to - from| < 3 652 059
}

ElapsedPeriod ElapsedBetween(CivilDate from, CivilDate to) {
  // The anniversary of `from` after k months, on the month's last day when it is shorter.
  auto anniversary = [&](std::int64_t k) {
    const std::int64_t index = from.year * 12LL + (from.month - 1) + k;
    const auto year = static_cast<int>(index / 12);
    const auto month = static_cast<int>(index % 12) + 1;
    const int last = GregorianMonthDays(year, month);
    return CivilDate{year, month, from.day < last ? from.day : last};
  };
  std::int64_t months = (to.year - from.year) * 12LL + (to.month - from.month);  // [0, 119 879]
  if (months > 0 && DaysFromCivil(anniversary(months)) > DaysFromCivil(to)) --months;
  if (months < 0) months = 0;
  ElapsedPeriod p;
  p.years = static_cast<int>(months / 12);
  p.months = static_cast<int>(months % 12);
  p.days = static_cast<int>(DaysFromCivil(to) - DaysFromCivil(anniversary(months)));
  return p;
}

}  // namespace velmora
