// Ages and elapsed periods in Spanish words.
#include <string>

#include "velmora/calendar.h"
#include "velmora/coerce.h"
#include "velmora/date_layout.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/text.h"

namespace velmora {

namespace {

std::u16string Decimal(std::int64_t v) { return Widen(std::to_string(v)); }

// A whole number with the locale's thousands mark: 12261 -> "12,261".
std::u16string Grouped(std::int64_t v, char16_t mark) {
  const std::u16string digits = Decimal(v < 0 ? -v : v);  // |v| < 3 652 059
  std::u16string out = v < 0 ? u"-" : u"";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(mark);
    out.push_back(digits[i]);
  }
  return out;
}

// The calendar date of a day count from 30 December 1899; a count outside the automation
// range overflows, as turning it into a date would.
CivilDate DateOfSerial(std::int64_t serial) {
  return SplitDateInRange(Date{static_cast<double>(serial)}).date;
}

std::int64_t SerialOf(CivilDate d) { return SerialFromCivil(d); }

constexpr std::int64_t kSecondsPerDay = 86'400;

}  // namespace

std::u16string Dolva::Edad(Date& FecIni, Date& FecFin, std::u16string& ModoTexto, bool& QuitaZeros,
                           bool& MuestraDias) {
  std::u16string mode = UpperCase(ModoTexto);
  if (mode != u"C" && mode != u"L" && mode != u"N") mode = u"L";
  ModoTexto = mode;

  const std::int64_t nd = DiasFechas(FecIni, FecFin).Floor();  // whole days, [-3 652 058, ...]
  const CivilDate from = SplitDateInRange(FecIni).date;
  const CivilDate to = SplitDateInRange(FecFin).date;

  // The day count read as a date counted from 30 December 1899 gives the years, months and
  // days; the corrections below keep the known results of the reports built on it.
  const CivilDate r = DateOfSerial(nd);
  std::int64_t years = r.year - 1900;
  std::int64_t months = r.month;
  std::int64_t days = r.day;
  if (from.day == to.day && from.month == to.month) {
    days = 0;
    months = 0;
    ++years;
  }
  if (from.day != to.day) {
    --months;
    ++days;
  }
  if (months > 12) months = 0;
  if (days > nd) days = nd;
  const std::int64_t dd = to.day - from.day;
  if (dd >= 0 && days > dd) days = dd;

  auto word = [&](std::u16string_view one, std::u16string_view many, std::int64_t n) {
    const std::u16string_view w = n == 1 ? one : many;
    if (mode == u"C") return std::u16string(1, static_cast<char16_t>(w.front() + (u'a' - u'A')));
    if (mode == u"N") return std::u16string();
    return std::u16string(w);
  };
  const std::u16string sep_years = years >= 0 ? u", " : u"";
  const std::u16string sep_months = u", ";
  const std::u16string year_part(TrimBlanks(Decimal(years) + u' ' + word(u"Año", u"Años", years)));
  const std::u16string month_part(
      TrimBlanks(PadLeft(Decimal(months), 2) + u' ' + word(u"Mes", u"Meses", months)));
  const std::u16string day_part(
      TrimBlanks(PadLeft(Decimal(days), 2) + u' ' + word(u"Día", u"Días", days)));

  std::u16string out;
  if (QuitaZeros) {
    if (years != 0) out += year_part;
    if (months != 0) {
      if (years != 0) out += sep_years;
      out += month_part;
    }
    if (days != 0) {
      if (months != 0) out += sep_months;
      else if (years != 0) out += sep_years;
      out += day_part;
    }
  } else {
    out = TrimBlanks(year_part + sep_years + month_part + sep_months + day_part);
  }
  out += u'.';
  if (MuestraDias) out += u" (" + Grouped(nd, locale().group_mark) + u')';
  return out;
}

std::u16string Dolva::FechaTrans(Variant& Nacio, Variant& FecActual) {
  const Date born_value = ToDate(Nacio, locale());
  const CivilDateTime born_at = SplitDateInRange(born_value);
  const std::int64_t born = SerialOf(born_at.date);
  const std::int64_t today = SerialOf(SplitDateInRange(services().clock->Now()).date);
  std::int64_t reference = today;
  if (!FecActual.IsMissing()) {
    const std::int64_t given = SerialOf(SplitDateInRange(ToDate(FecActual, locale())).date);
    // A reference date before the birth is a typing slip: the age is given as of today. The
    // birth keeps its time of day in this comparison.
    const std::int64_t born_second = born * kSecondsPerDay + born_at.time.hour * 3600 +
                                     born_at.time.minute * 60 + born_at.time.second;
    if (given * kSecondsPerDay >= born_second) reference = given;
  }
  // The span read as a date counted from 1 January 2000: its year within the century, its
  // month less one and its day less one.
  const CivilDate t = DateOfSerial(SerialOf({2000, 1, 1}) + (reference - born));
  const int years = t.year % 100;  // [0, 99]
  const int months = t.month - 1;  // [0, 11]
  const int days = t.day - 1;      // [0, 30]

  const std::u16string year_text =
      years == 0 ? u"" : Decimal(years) + (years == 1 ? u" Año" : u" Años");
  const std::u16string month_text =
      months == 0 ? u"" : Decimal(months) + (months == 1 ? u" Mes" : u" Meses");
  const std::u16string day_text =
      days == 0 ? u"" : Decimal(days) + (days == 1 ? u" Dia" : u" Dias");
  std::u16string out = year_text;
  if (!year_text.empty() && (!month_text.empty() || !day_text.empty())) out += u", ";
  out += month_text;
  if (!month_text.empty() && !day_text.empty()) out += u", ";
  out += day_text;
  if (!out.empty()) out += u'.';
  return out;
}

std::u16string Dolva::Lapso(Variant& FecIni, Variant& FecFin) {
  const Date first = ToDate(FecIni, locale());
  const Date last = ToDate(FecFin, locale());
  const CivilDateTime a = SplitDateInRange(first);
  const CivilDateTime b = SplitDateInRange(last);
  const std::int64_t d1 = SerialOf(a.date);
  const std::int64_t d2 = SerialOf(b.date);
  Variant clock1(FormatDateLayout(first, layouts::kClock24, locale()));
  Variant clock2(FormatDateLayout(last, layouts::kClock24, locale()));
  const std::int32_t t1 = Hrs2Seg(clock1);  // [0, 86399]
  const std::int32_t t2 = Hrs2Seg(clock2);
  std::int32_t both = t1 + t2;
  const bool full_day = MasDeUnDia(both);

  // Spans are compared on the real instants: before 30 December 1899 the automation count runs
  // backwards by day but forwards within the day, so its raw difference would mislead.
  const std::int64_t span = (d2 - d1) * kSecondsPerDay + (t2 - t1);
  const std::int64_t whole_days = (d2 - d1) - (full_day ? 0 : 1);
  const bool forward = span >= 0;
  // A later date with an earlier time of day borrows a day, so the hours are never negative.
  const bool borrow = forward && t2 < t1;
  std::int32_t clock_seconds = t2 - t1 + (borrow ? 86'400 : 0);
  const std::u16string clock_text = Seg2Hrs(clock_seconds);

  if (!forward || (whole_days <= 0 && span - kSecondsPerDay <= 0)) return clock_text + u" Hrs.";
  const ElapsedPeriod p = ElapsedBetween(a.date, DateOfSerial(d2 - (borrow ? 1 : 0)));
  if (p == ElapsedPeriod{}) return clock_text + u" Hrs.";

  std::u16string out;
  if (p.years >= 1) out += Decimal(p.years) + u" Año" + (p.years >= 2 ? u"s" : u"");
  if (p.years >= 1) out += u", ";
  if (p.months >= 1) out += Decimal(p.months) + u" Mes" + (p.months >= 2 ? u"es" : u"");
  if (p.days >= 1) {
    if (p.months >= 1) out += u", ";
    out += Decimal(p.days) + u" Día" + (p.days >= 2 ? u"s" : u"");
  }
  return out + u" y " + clock_text + u" Hrs.";
}

}  // namespace velmora
