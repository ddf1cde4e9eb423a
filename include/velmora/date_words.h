// Date wording: day and month names, dated headings, greetings and masked-box dates.
//
// The routines a host calls are methods of Dolva:
//   d.sDias(date, spanish, long)   weekday name from the fixed tables below; the short form is
//                                  the first three characters and ".": sDias(15/03/2009, true,
//                                  false) == "Dom."; a Wednesday in Spanish short is "Mié.".
//   d.Meses(date, spanish, long)   month name likewise: Meses(15/03/2009, false, true) ==
//                                  "March"; May in English short is "May.".
//   d.Fechador(date, lang, place, long, time)
//                                  a dated heading. Spanish ("E", the default; only an upper-case
//                                  E) writes the locale's long date or "ddd, dd-mmm-yyyy":
//                                  "México, D.F. a domingo, 15 de marzo de 2009"; any other
//                                  letter writes the English heading from sDias and Meses:
//                                  "Guadalajara, Sun., Mar. 15, 2009". With `time`, " @ " and
//                                  the clock's time as "hh:mm:ss AmPm." follow. A date that is
//                                  neither left out, the empty mask, nor a date raises 13.
//   d.Saludos(date, time)          a greeting by the clock's time of day, with today's date and
//                                  the time in the locale's spelling:
//                                  "Buenas Tardes, Sunday 15-Mar-2009 @ 05:30 PM." in en_US,
//                                  "Buenas Tardes, domingo 15-mar-2009 @ 05:30 p.." in es_MX.
//   d.FechaTxtBox(first, text)     the first (`first` true) or last day of the half of the month
//                                  in which the typed date falls, as "dd/mm/yyyy"; a text that
//                                  is empty, the empty mask or not a date becomes today's short
//                                  date in the caller's variable: ("20/03/2009", true) ->
//                                  "15/03/2009", ("20/02/2008", false) -> "29/02/2008". The last
//                                  day comes from DiasMes, so February 1900 has a 29th, and that
//                                  day, not in the calendar, is written as the day after the 28th.
#pragma once

#include <string_view>

namespace velmora {

// What a masked "dd/mm/yyyy" box holds when nothing was typed into it.
inline constexpr std::u16string_view kEmptyDateMask = u"  /  /    ";
// The place of a heading when the caller names none.
inline constexpr std::u16string_view kDefaultPlace = u"México, D.F.";

// Weekday name, 1 = Sunday .. 7 = Saturday, in Spanish or English: DayName(4, true) == u"Miércoles"
std::u16string_view DayName(int weekday, bool spanish);
// Month name, 1 = January: MonthName(9, true) == u"Septiembre"
std::u16string_view MonthName(int month, bool spanish);

// The greeting for a time written "hh:mm:ss" on the 12-hour clock and whether it is before
// noon: Greeting(u"05:30:00", false) == u"Buenas Tardes"; empty when no window holds the time.
std::u16string_view Greeting(std::u16string_view clock12, bool before_noon);

}  // namespace velmora
