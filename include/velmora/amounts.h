// Amounts in Spanish words for C++ callers: the "importe con letra" of Mexican invoices and
// cheques, or a plain number in words.
//
// Two wordings are offered:
// - Wording::kLegacy, the default, is the library's historical wording, byte for byte the text
//   of Dolva::Letras with the same options, quirks included ("UN MIL", a double blank before
//   "Y", no word for zero, cents truncated), because printouts already issued with it must come
//   out the same.
// - Wording::kModern words the amount as Spanish grammar and today's money documents expect:
//   standard cardinals with their accents, "CERO" for zero, "UN"/"VEINTIÚN" before the currency
//   noun, "DE" after a whole number of millions, and cents rounded once.
//
//   using velmora::AmountInWords;
//   using velmora::Wording;
//   AmountInWords(1234.5);
//       // "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."
//   AmountInWords(1234.5, {.wording = Wording::kModern});
//       // "MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N."
//   AmountInWords(2000000, {.wording = Wording::kModern});
//       // "DOS MILLONES DE PESOS 00/100 M.N."
//   AmountInWords(21, {.currency = "USD", .wording = Wording::kModern});
//       // "VEINTIÚN DÓLARES 00/100 USD"
//   AmountInWords(1.999, {.wording = Wording::kModern});
//       // "DOS PESOS 00/100 M.N."  (the legacy wording gives "UN PESO, 99/100 M.N.")
//   AmountInWords(15.5, {.money = false, .upper = false});
//       // "quince con 50"
//   AmountInWords(15.5, {.money = false, .upper = false, .wording = Wording::kModern});
//       // "quince con 50/100"
//   AmountInWords(1234.5, {.parentheses = true, .show_figure = true,
//                          .wording = Wording::kModern});
//       // "$ 1,234.50, ( MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N. )"
//
// The modern wording in detail:
// - Counts follow the Spanish long scale: "MIL" (never "UN MIL"), "VEINTIÚN MIL", "UN MILLÓN",
//   "MIL MILLONES" (10^9), "UN BILLÓN" (10^12), "DOS BILLONES"; words are joined by single
//   blanks.
// - Money: "<WORDS> <NOUN> <cc>/100 <MARK>". A count that ends in "uno" takes its short form
//   before the noun ("UN PESO", "VEINTIÚN PESOS", "TREINTA Y UN PESOS"); one unit takes the
//   singular noun, every other amount (zero included) the plural; a count that ends in
//   "MILLÓN", "MILLONES", "BILLÓN" or "BILLONES" takes "DE" before the noun ("UN MILLÓN DE
//   PESOS", "MIL MILLONES DE PESOS") and no other count does ("UN MILLÓN CIEN PESOS").
// - A plain number keeps "uno" whole and adds its cents as hundredths only when there are any:
//   21 gives "VEINTIUNO", 0 "CERO", 15.5 "QUINCE CON 50/100".
// - The amount is rounded to cents once, halves up, and the words, the cents and the figure all
//   read the rounded amount: 0.005 gives "CERO PESOS 01/100 M.N." and 999999.995 gives "UN
//   MILLÓN DE PESOS 00/100 M.N.".
// - The parentheses, the figure and the letter case behave as in the legacy wording: the figure
//   is the layout "#,###,###,###,###,##0.00" with the symbol and a blank in front for money, and
//   in capitals the caller's symbol and mark are upper-cased too.
// - Every amount the currency type holds is worded, up to its largest, 922,337,203,685,477.5807
//   ("NOVECIENTOS VEINTIDÓS BILLONES ... PESOS 58/100 M.N."); no amount reaches "MIL BILLONES".
// - A negative amount has no wording, also one that would round to 0.00 (-0.0001): the call
//   raises 5. (The legacy wording raises 13 for it, and 6 for an amount of 10^12 or more, as
//   Dolva::Letras does.)
//
// Currencies, by ISO 4217 code (letter case of the code does not matter):
//
//   .currency  legacy noun  modern nouns        mark
//   "MXN"      "Peso"       "PESO", "PESOS"     "M.N."
//   "USD"      "Dólar"      "DÓLAR", "DÓLARES"  "USD"
//   "EUR"      "Euro"       "EURO", "EUROS"     "EUR"
//
// The legacy wording pluralises its noun with "s", as Dolva::Letras does, so a legacy amount in
// dollars reads "DOS DÓLARS, 00/100 USD". In Dolva::Letras terms, `.currency` chooses
// sQueMoneda and, while `.national` is unset, sEsMonedaNal: AmountInWords(x, {.currency =
// "USD"}) is Letras(x, sQueMoneda:="Dólar", sEsMonedaNal:="USD"). Any other code raises 5.
// `.national` replaces the mark: `.national = "MXN"` writes "50/100 MXN", and an empty mark
// leaves none ("DOS PESOS 00/100").
//
// Errors are velmora::Error with the runtime number; what() and description() read in the
// language of the call's locale (Spanish for the default es_MX): AmountInWords(-1, {.wording =
// Wording::kModern}) raises Error 5, "Llamada a procedimiento o argumento no válidos".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "velmora/currency.h"
#include "velmora/locale.h"

namespace velmora {

enum class Wording {
  kLegacy,  // the historical wording of Dolva::Letras, byte for byte
  kModern,  // standard Spanish cardinals in the layout of today's money documents
};

// How to word an amount. Every field has the default Dolva::Letras documents for its option, so
// only what differs needs naming: AmountInWords(15.5, {.money = false, .upper = false}). The
// texts are UTF-8 views read during the call only.
struct AmountOptions {
  bool money = true;           // money: noun, cents over 100 and mark; false: a plain number
  bool upper = true;           // the whole result in capitals, accented letters included
  bool parentheses = false;    // the words between "( " and " )"
  bool show_figure = false;    // the figure too, in front of the words
  bool figure_inside = false;  // with parentheses and figure: the figure inside them
  // In front of the figure of an amount of money.
  std::string_view symbol = "$";
  // ISO 4217 code of the currency: "MXN", "USD" or "EUR".
  std::string_view currency = "MXN";
  // The mark after the cents; unset: the currency's own ("M.N.", "USD", "EUR").
  std::optional<std::string_view> national = std::nullopt;
  Wording wording = Wording::kLegacy;
  // Group and decimal marks of the figure, and the language of error messages; unset: es_MX.
  const LocaleData* locale = nullptr;
};

// The amount in words as UTF-8 text. A double is first held as currency (four decimals, halves
// to even; out of the currency's range or not a number raises 6).
// AmountInWords(21, {.wording = Wording::kModern}) == "VEINTIÚN PESOS 00/100 M.N."
std::string AmountInWords(Currency amount, const AmountOptions& options = {});
std::string AmountInWords(double amount, const AmountOptions& options = {});

// The same text in UTF-16, for callers whose text is UTF-16 already.
// AmountInWordsUtf16(0, {.wording = Wording::kModern}) == u"CERO PESOS 00/100 M.N."
std::u16string AmountInWordsUtf16(Currency amount, const AmountOptions& options = {});
std::u16string AmountInWordsUtf16(double amount, const AmountOptions& options = {});

}  // namespace velmora
