// Amounts in Spanish words, as Mexican invoices and cheques print them.
//
// This is the automation face of the legacy wording; C++ callers have AmountInWords in
// velmora/amounts.h, which gives the same text with plain options and also a modern wording.
//
// Dolva::Letras words an amount of money ("UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100
// M.N.") or a plain number ("QUINCE CON 50"), optionally between parentheses and with the
// figure in front of the words or inside the parentheses. Every option is a variant that takes
// its default when left out (Variant::Missing()):
//
//   bEsDinero       true   money wording: currency name, cents over 100, national mark
//   sSimbolo        "$"    symbol in front of the figure of an amount of money
//   sQueMoneda      "Peso" currency name; the plural adds "s"
//   sEsMonedaNal    "M.N." mark after the cents, one blank before it
//   bEnMayusculas   true   the whole result in capitals, accented letters included
//   bParentesis     false  words between "( " and " )"
//   bMuestraImporte false  show the figure too
//   bImporteAdentro false  with parentheses and figure: the figure inside the parentheses
//
//   d.Letras(1234.5, defaults...)     == u"UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."
//   d.Letras(35.5, ...)               == u"TREINTA  Y CINCO PESOS, 50/100 M.N."  (two blanks: the
//                                        tens word keeps its own blank before " y ")
//   d.Letras(15.5, bEsDinero = false) == u"QUINCE CON 50"
//
// The cents in words are the first two decimals, truncated (1.125 gives "12/100"), while the
// figure rounds halves away from zero (1.125 shows "1.13"): a cheque never promises a cent more
// in words than the amount holds.
//
// At the edges:
// - A negative amount has no wording and raises 13.
// - The wording reads twelve digit positions and its largest scale word is "mil millones", so
//   an amount of 10^12 or more raises the overflow error 6 instead of printing words that drop
//   the leading digits; a cheque must never be printed with a wrong sum.
// - The currency symbol is always copied as it is, also when it holds characters that a number
//   layout would take for placeholders ("#", "0", ",", "."): sSimbolo "#" gives "# 1,234.50".
// - The figure takes the group and decimal marks of the instance's locale.
#pragma once

#include <string>
#include <string_view>

#include "velmora/currency.h"
#include "velmora/locale.h"

namespace velmora {

// The figure of an amount as the layout "#,###,###,###,###,##0.00" writes it, with the locale's
// marks and, for money, the symbol and one blank in front; blanks at both ends removed. A
// negative amount takes its "-" in front of everything, symbol included.
// AmountFigure(1234.5, u"$", true, es_MX) == u"$ 1,234.50"; AmountFigure(0, u"", false, es_MX)
// == u"0.00".
std::u16string AmountFigure(Currency amount, std::u16string_view symbol, bool money,
                            const LocaleData& loc);

}  // namespace velmora
