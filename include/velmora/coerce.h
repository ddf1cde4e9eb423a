// Conversions between variant kinds, as the automation runtime makes them.
//
// Every conversion the library makes from a caller's value lives here, so the command line, the
// COM server and the routines themselves agree. Text is read with the locale's marks; whole
// numbers round halves to the even neighbour; leaving a type's range raises 6; Null where a
// value is needed raises 94; a value of the wrong kind raises 13.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "velmora/locale.h"
#include "velmora/variant.h"

namespace velmora {

bool ToBoolean(const Variant& v, const LocaleData& loc);
std::uint8_t ToByte(const Variant& v, const LocaleData& loc);
std::int16_t ToInteger(const Variant& v, const LocaleData& loc);
std::int32_t ToLong(const Variant& v, const LocaleData& loc);
Currency ToCurrency(const Variant& v, const LocaleData& loc);
double ToDouble(const Variant& v, const LocaleData& loc);
Date ToDate(const Variant& v, const LocaleData& loc);
std::u16string ToText(const Variant& v, const LocaleData& loc);
// A host object; anything else (Empty included) raises 424.
ObjectRef ToObject(const Variant& v);

// Reads a text as a number with the locale's marks: blanks around it, a sign, group marks in the
// whole part, a decimal mark, an exponent, or the "&H"/"&O" prefixes. nullopt when it is not one.
std::optional<double> ParseNumber(std::u16string_view text, const LocaleData& loc);
// The same reading, exact to four decimals (halves to even); nullopt when not a number,
// raises 6 when it is a number beyond the currency range.
std::optional<Currency> ParseCurrency(std::u16string_view text, const LocaleData& loc);

// The one reader of dates typed as text (see the date-words family for the accepted forms).
// ParseDate(u"15/03/2009", es_MX) is 15 March 2009; nullopt when the text is not a date.
std::optional<Date> ParseDate(std::u16string_view text, const LocaleData& loc);
// Whether a value is, or reads as, a date.
bool IsDateValue(const Variant& v, const LocaleData& loc);

// Text form of a double with up to 15 significant digits, the locale's decimal mark and the
// exponent form from 1E+15 on: FormatDouble(0.5) == "0.5".
std::u16string FormatDouble(double value, const LocaleData& loc);
// "Decimal rewriting": the text form with "." and a leading blank for a value of zero or more.
// DecimalRewrite(11) == " 11"; DecimalRewrite(1e15) == " 1E+15".
std::u16string DecimalRewrite(double value);
// Text form of a currency amount: no trailing zeros, the locale's decimal mark.
std::u16string FormatCurrency(Currency value, const LocaleData& loc);
// Text form of a date: the short date with a four-digit year in the locale's order, then
// " hh:mm:ss" on the 24-hour clock when the time of day is not midnight; a value of day 0 with a
// time is the time alone. FormatDateText(15 March 2009) == "15/03/2009" for es_MX.
std::u16string FormatDateText(Date value, const LocaleData& loc);

// Upper-casing one character to one, locale-free: "dieciséis" -> "DIECISÉIS", "ß" stays "ß".
std::u16string UpperCase(std::u16string_view text);
char16_t UpperChar(char16_t c);
// Removes the blank U+0020 at both ends (and nothing else).
std::u16string_view TrimBlanks(std::u16string_view text);
// The same at the left or at the right end only.
std::u16string_view TrimLeftBlanks(std::u16string_view text);
std::u16string_view TrimRightBlanks(std::u16string_view text);
// Case-insensitive comparison of two names (the automation runtime's name matching).
bool SameName(std::u16string_view a, std::u16string_view b);
// The entry a lookup by name settles on among entries in the order they were listed: the one
// whose name (`name_of(entry)`) is spelled exactly as `wanted`, else the first whose name is
// the SameName; `last` when none is. Every search of the disk by a name ignoring case (a photo,
// a folder on a photo's path, System.ini) goes through it, so they all settle alike when a
// case-sensitive disk holds several spellings: among {"fotos", "FOTOS"} "FOTOS" finds "FOTOS"
// and "Fotos" finds "fotos".
template <typename It, typename NameOf>
It FindByName(It first, It last, std::u16string_view wanted, NameOf name_of) {
  It folded = last;
  for (It it = first; it != last; ++it) {
    const std::u16string_view name = name_of(*it);
    if (name == wanted) return it;
    if (folded == last && SameName(name, wanted)) folded = it;
  }
  return folded;
}
// ASCII text as 16-bit text.
std::u16string Widen(std::string_view ascii);

}  // namespace velmora
