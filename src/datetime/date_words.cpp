// Day and month names, headings, greetings and masked-box dates.
#include "velmora/date_words.h"

#include <string>

#include "velmora/coerce.h"
#include "velmora/date_layout.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

constexpr std::u16string_view kDaysEs[] = {u"Domingo", u"Lunes",   u"Martes", u"Miércoles",
                                           u"Jueves",  u"Viernes", u"Sábado"};
constexpr std::u16string_view kDaysEn[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                           u"Thursday", u"Friday", u"Saturday"};
constexpr std::u16string_view kMonthsEs[] = {u"Enero",      u"Febrero", u"Marzo",     u"Abril",
                                             u"Mayo",       u"Junio",   u"Julio",     u"Agosto",
                                             u"Septiembre", u"Octubre", u"Noviembre", u"Diciembre"};
constexpr std::u16string_view kMonthsEn[] = {u"January",   u"February", u"March",    u"April",
                                             u"May",       u"June",     u"July",     u"August",
                                             u"September", u"October",  u"November", u"December"};

// The long name, or its first three characters and a point.
std::u16string NameForm(std::u16string_view name, bool long_form) {
  if (long_form) return std::u16string(name);
  return std::u16string(name.substr(0, 3)) + u'.';
}

// Today's calendar date, as a date value at midnight.
Date Today(const Services& s) { return MakeDate(SplitDateInRange(s.clock->Now()).date); }

struct Window {
  std::u16string_view from, to, greeting;
};
// Inclusive windows of the 12-hour clock, compared as text; the first that holds wins.
constexpr Window kBeforeNoon[] = {{u"12:00:00", u"12:59:59", u"Buenas Noches"},
                                  {u"01:00:00", u"04:59:59", u"Buenas Noches"},
                                  {u"05:00:00", u"11:59:59", u"Buenos Días"}};
constexpr Window kAfterNoon[] = {{u"12:00:00", u"12:59:59", u"Buenas Tardes"},
                                 {u"01:00:00", u"06:59:59", u"Buenas Tardes"},
                                 {u"07:00:00", u"11:59:59", u"Buenas Noches"}};

}  // namespace

std::u16string_view DayName(int weekday, bool spanish) {
  return (spanish ? kDaysEs : kDaysEn)[weekday - 1];
}

std::u16string_view MonthName(int month, bool spanish) {
  return (spanish ? kMonthsEs : kMonthsEn)[month - 1];
}

std::u16string_view Greeting(std::u16string_view clock12, bool before_noon) {
  for (const Window& w : before_noon ? kBeforeNoon : kAfterNoon) {
    if (clock12 >= w.from && clock12 <= w.to) return w.greeting;
  }
  return {};
}

std::u16string Dolva::sDias(Date dFecha, bool& bLenguaje, bool& bLarCor) {
  return NameForm(DayName(Weekday(SplitDateInRange(dFecha).date), bLenguaje), bLarCor);
}

std::u16string Dolva::Meses(Date dFecha, bool& bLenguaje, bool& bLarCor) {
  return NameForm(MonthName(SplitDateInRange(dFecha).date.month, bLenguaje), bLarCor);
}

std::u16string Dolva::Fechador(Variant& sFecha, Variant& sLenguaje, Variant& sCiudad,
                               Variant& bTextoLargo, Variant& bDispHora) {
  const LocaleData& loc = locale();
  const bool no_date =
      sFecha.IsMissing() || (sFecha.is(VarType::kText) && sFecha.text() == kEmptyDateMask);
  const Date d = no_date ? Today(services()) : ToDate(sFecha, loc);
  bool spanish = true;
  if (!sLenguaje.IsMissing()) {
    const std::u16string lang = ToText(sLenguaje, loc);
    spanish = !lang.empty() && lang.front() == u'E';
  }
  const std::u16string place = sCiudad.IsMissing()
                                   ? std::u16string(kDefaultPlace)
                                   : std::u16string(TrimBlanks(ToText(sCiudad, loc)));
  const bool long_form = bTextoLargo.IsMissing() || ToBoolean(bTextoLargo, loc);
  const bool with_time = !bDispHora.IsMissing() && ToBoolean(bDispHora, loc);

  std::u16string out = place;
  if (!place.empty()) out += spanish ? u" a " : u", ";
  if (spanish) {
    out += FormatDateLayout(d, long_form ? layouts::kLongDate : layouts::kShortHeading, loc);
  } else {
    bool english = false;
    bool form = long_form;
    out += sDias(d, english, form);
    out += u", ";
    out += Meses(d, english, form);
    out += u' ';
    out += FormatDateLayout(d, u"dd", loc);
    out += u", ";
    out += FormatDateLayout(d, u"yyyy", loc);
  }
  if (with_time) {
    // Always the clock's time: a time carried by the date argument is not shown.
    out += u" @ ";
    out += FormatDateLayout(services().clock->Now(), layouts::kClock12, loc);
  }
  return out;
}

std::u16string Dolva::Saludos(bool& bFecha, bool& bHora) {
  const LocaleData& loc = locale();
  const Date now = services().clock->Now();
  const std::u16string day = FormatDateLayout(now, layouts::kGreetingDate, loc);
  const std::u16string time = FormatDateLayout(now, layouts::kClock12, loc);
  const std::u16string_view t = time;
  const std::u16string_view clock = t.substr(0, 8);
  // The designator's first two characters: "AM"/"PM", "a."/"p." or "ma"/"ta" in the locales
  // the library meets. An unknown one counts as before noon.
  const std::u16string_view designator = t.size() > 9 ? t.substr(9, 2) : std::u16string_view{};
  const std::u16string p = UpperCase(designator);
  const bool after_noon = p == u"PM" || p == u"P." || p == u"TA";

  std::u16string out(Greeting(clock, !after_noon));
  if (bFecha) {
    out += u", ";
    out += day;
    if (bHora) out += u" @ ";
  }
  if (bHora) {
    if (!bFecha) out += u", ";
    out += t.substr(0, 5);
    out += u' ';
    out += designator;
  }
  out += u'.';
  return std::u16string(TrimBlanks(out));
}

std::u16string Dolva::FechaTxtBox(bool& Modo, std::u16string& Fecha) {
  const LocaleData& loc = locale();
  std::optional<Date> typed;
  if (!Fecha.empty() && Fecha != kEmptyDateMask) typed = ParseDate(Fecha, loc);
  if (!typed) {
    const Date today = Today(services());
    Fecha = ShortDateText(SplitDateInRange(today).date, loc);
    typed = today;
  }
  const CivilDate c = SplitDateInRange(*typed).date;
  std::int16_t month = static_cast<std::int16_t>(c.month);  // [1, 12]
  std::int16_t year = static_cast<std::int16_t>(c.year);    // [100, 9999]
  const std::int16_t last = DiasMes(month, year);
  std::int16_t day = static_cast<std::int16_t>(c.day);
  if (day > last) day = last;
  if (day < 1) day = 1;
  if (day <= 15) day = Modo ? 1 : 15;
  else day = Modo ? 15 : last;
  // Built as a day count from the first of the month, so a 29 February that the calendar does
  // not have (DiasMes counts one in 1900) is written as the day after the 28th.
  const std::int64_t serial = SerialFromCivil({c.year, c.month, 1}) + (day - 1);
  return FormatDateLayout(Date{static_cast<double>(serial)}, layouts::kBoxDate, loc);
}

}  // namespace velmora
