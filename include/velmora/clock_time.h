// Clock-time arithmetic: times of day and durations written "hh:mm:ss" or "hh:mm".
//
// The fields of a time text are taken from fixed character positions, not by splitting at the
// colons, so inputs are expected with two-digit hours; other inputs give the positional reading.
// The routines a host calls are methods of Dolva:
//   d.Hrs2Seg(t)        seconds of a time: characters 1-2 hours, 4-5 minutes, the last two
//                       seconds, of the text trimmed and cut to 8 characters; a date value gives
//                       its time of day as "hh:mm:ss" on the 24-hour clock, Null raises 94.
//                       Hrs2Seg("08:30:15") == 30615; Hrs2Seg("08:30") == 30630 (the minutes
//                       are read again as seconds); Hrs2Seg("8:30:00") == 28800.
//   d.Seg2Hrs(n)        "hh:mm:ss" of a second count, hours not reduced to a day and each field
//                       padded to two characters: Seg2Hrs(90000) == "25:00:00"; a negative
//                       count carries its sign into the fields: Seg2Hrs(-5400) == "-2:-30:00".
//   d.Fillhours(t)      "hh:mm" of a typed time whose last two characters are the minutes; an
//                       empty text becomes "00:00" in the caller's variable too, a one-character
//                       text raises 5: Fillhours("830") == "08:30".
//   d.SumaHoras(a, b)   Seg2Hrs(Hrs2Seg(a) + Hrs2Seg(b)): ("08:30:00", "17:45:30") -> "26:15:30".
//   d.RestaHoras(a, b)  Seg2Hrs(Hrs2Seg(a) - Hrs2Seg(b)): ("08:30:00", "17:45:30") ->
//                       "-10:-16:-30".
//   d.MasDeUnDia(n)     true from a full day of seconds on: MasDeUnDia(86400) == true.
//   d.HrsNumericas(t)   decimal hours of "hh:mm", hundredths of an hour truncated; 0 for a
//                       text that is not a date or time: HrsNumericas("08:20") == 8.33.
#pragma once

#include <string_view>

namespace velmora {

// The value of a text as a time field reads it: blanks skipped, then the longest leading
// decimal number (sign, digits, decimal point); 0 when there is none. A number too large for a
// double raises 6. LeadingNumber(u" 8:30") == 8; LeadingNumber(u":3") == 0;
// LeadingNumber(u"-1.5x") == -1.5
double LeadingNumber(std::u16string_view text);

}  // namespace velmora
