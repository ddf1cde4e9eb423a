// The wording of amounts as Dolva::Letras wrote it before its words were taken from whole
// groups of three digits: the yardstick every faster wording is compared with, text for text.
#pragma once

#include <string>
#include <string_view>

#include "velmora/currency.h"
#include "velmora/locale.h"
#include "velmora/variant.h"

namespace velmora::reference {

// The options of one wording, every text already chosen.
struct LetrasText {
  bool money = true;
  bool upper = true;
  bool parentheses = false;
  bool show_figure = false;
  bool figure_inside = false;
  std::u16string_view symbol = u"$";
  std::u16string_view singular = u"Peso";
  std::u16string_view mark = u"M.N.";
};

// The wording itself: raises 13 for a negative amount and 6 from 10^12 on.
std::u16string LegacyWords(Currency amount, const LetrasText& text, const LocaleData& loc);

// Letras over variant options, each taking its default when missing.
std::u16string Letras(Currency amount, const Variant& bEsDinero, const Variant& sSimbolo,
                      const Variant& sQueMoneda, const Variant& sEsMonedaNal,
                      const Variant& bEnMayusculas, const Variant& bParentesis,
                      const Variant& bMuestraImporte, const Variant& bImporteAdentro,
                      const LocaleData& loc);

}  // namespace velmora::reference
