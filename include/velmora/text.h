// Text and number helpers: filling, centring, Roman numerals, parity.
//
// The routines a host calls are methods of Dolva and forward to the free functions below:
//   d.NumRomano(v)          RomanNumeral(v)
//   d.Centra_Textos(t, n)   CenterText(t, n)
//   d.StrZero(t, n, fill)   PadLeft(t, n, fill)
//   d.EsNumeroPar(n)        true when n is even: EsNumeroPar(-4) == true, EsNumeroPar(7) == false
//   d.ReverseName()         reverses the instance's Name field in place: "Ana Luz" -> "zuL anA"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Fills the text, trimmed of blanks at both ends, on the left with the first character of
// `fill` up to `length` characters; a text already as long or longer comes back trimmed, never
// shortened. An empty `fill` when filling is needed raises 5; a shortfall outside the 16-bit
// range raises 6. PadLeft(u"7", 3) == u"007"; PadLeft(u" 42 ", 5, u"*") == u"***42".
std::u16string PadLeft(std::u16string_view text, std::int16_t length,
                       std::u16string_view fill = u"0");

// Roman numeral of 1 to 3999; 0 is the empty text and any other value is written in decimal
// digits, so a form never shows a wrong numeral. RomanNumeral(1994) == u"MCMXCIV";
// RomanNumeral(4000) == u"4000"; RomanNumeral(-5) == u"-5".
std::u16string RomanNumeral(std::int16_t value);

// Centres the text, trimmed of blanks at both ends, between two equal margins of blanks, each
// half of what the field leaves over, rounded down: an odd leftover makes the result one
// character short of the field, and a text as wide as the field or wider comes back alone.
// CenterText(u"abc", 9) == u"   abc   "; CenterText(u"abc", 8) == u"  abc  ".
std::u16string CenterText(std::u16string_view text, std::int16_t width);

// The text with its characters in reverse order. A surrogate pair is one character and keeps
// its two units in order, so the result is well-formed text and reversing twice gives the text
// back. ReversedText(u"Ana Luz") == u"zuL anA".
std::u16string ReversedText(std::u16string_view text);

}  // namespace velmora
