// The legacy wording of amounts, the figure beside it, and Dolva::Letras over them.
#include <array>
#include <cstdint>
#include <string>

#include "text/amount_words.h"
#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/money_words.h"
#include "velmora/text.h"

namespace velmora {
namespace amount_detail {
namespace {

// The words in one letter case. Every word keeps its own trailing blank: joining words is plain
// concatenation, which is why "treinta " and " y " meet with two blanks. The capitals are
// written out rather than made per call: upper case is the common request, and the words are
// most of the text.
struct Spelling {
  std::array<std::u16string_view, 10> units, tens, teens, hundreds;
  std::u16string_view hundred, twenty_prefix, and_word;
  std::u16string_view thousand_millions, million, millions, thousand, of, plural, with;
};

constexpr Spelling kLowerSpelling = {
    {u"", u"un ", u"dos ", u"tres ", u"cuatro ", u"cinco ", u"seis ", u"siete ", u"ocho ",
     u"nueve "},
    {u"", u"diez ", u"veinte ", u"treinta ", u"cuarenta ", u"cincuenta ", u"sesenta ", u"setenta ",
     u"ochenta ", u"noventa "},
    {u"diez ", u"once ", u"doce ", u"trece ", u"catorce ", u"quince ", u"diecis\u00E9is ",
     u"diecisiete ", u"dieciocho ", u"diecinueve "},
    {u"", u"ciento ", u"doscientos ", u"trescientos ", u"cuatrocientos ", u"quinientos ",
     u"seiscientos ", u"setecientos ", u"ochocientos ", u"novecientos "},
    u"cien ",
    u"veinti",
    u" y ",
    u"mil millones ",
    u"millon ",
    u"millones ",
    u"mil ",
    u"de ",
    u"s, ",
    u"con ",
};

constexpr Spelling kUpperSpelling = {
    {u"", u"UN ", u"DOS ", u"TRES ", u"CUATRO ", u"CINCO ", u"SEIS ", u"SIETE ", u"OCHO ",
     u"NUEVE "},
    {u"", u"DIEZ ", u"VEINTE ", u"TREINTA ", u"CUARENTA ", u"CINCUENTA ", u"SESENTA ", u"SETENTA ",
     u"OCHENTA ", u"NOVENTA "},
    {u"DIEZ ", u"ONCE ", u"DOCE ", u"TRECE ", u"CATORCE ", u"QUINCE ", u"DIECIS\u00C9IS ",
     u"DIECISIETE ", u"DIECIOCHO ", u"DIECINUEVE "},
    {u"", u"CIENTO ", u"DOSCIENTOS ", u"TRESCIENTOS ", u"CUATROCIENTOS ", u"QUINIENTOS ",
     u"SEISCIENTOS ", u"SETECIENTOS ", u"OCHOCIENTOS ", u"NOVECIENTOS "},
    u"CIEN ",
    u"VEINTI",
    u" Y ",
    u"MIL MILLONES ",
    u"MILLON ",
    u"MILLONES ",
    u"MIL ",
    u"DE ",
    u"S, ",
    u"CON ",
};

// The words of the last two digits of a group, "" to "noventa  y nueve ": at most 20 units
// ("cincuenta  y cuatro ").
using PairWord = SlotWord<24>;

// A group of three digits is its hundreds word followed by the words of its last two digits,
// except exactly one hundred ("cien", where 101 is "ciento un"). One is "un" in every
// position: "un mil", "un millon", "un mil millones".
struct Vocabulary {
  std::array<Word, 10> hundreds;
  std::array<PairWord, 100> pairs;
  Word hundred;
  Word thousand_millions, million, millions, thousand, of, plural, with;
};

constexpr PairWord PairOf(const Spelling& s, std::size_t n) {
  const std::size_t t = n / 10;  // [0, 9]
  const std::size_t u = n % 10;  // [0, 9]
  std::u16string_view parts[3] = {};
  if (u == 0) {
    parts[0] = s.tens[t];
  } else if (t == 1) {
    parts[0] = s.teens[u];
  } else if (t == 2) {
    parts[0] = s.twenty_prefix;  // one word with its units: "veintiun", "veintidos"
    parts[1] = s.units[u];
  } else if (t >= 3) {
    parts[0] = s.tens[t];
    parts[1] = s.and_word;
    parts[2] = s.units[u];
  } else {
    parts[0] = s.units[u];
  }
  PairWord w;
  for (const auto part : parts) {
    for (const char16_t c : part) {
      if (w.size == PairWord::kSlot) throw "a pair of digits longer than its slot";
      w.units[w.size++] = c;
    }
  }
  return w;
}

constexpr Vocabulary ToVocabulary(const Spelling& s) {
  Vocabulary v{ToWords(s.hundreds), {},
               ToWord(s.hundred),   ToWord(s.thousand_millions),
               ToWord(s.million),   ToWord(s.millions),
               ToWord(s.thousand),  ToWord(s.of),
               ToWord(s.plural),    ToWord(s.with)};
  for (std::size_t n = 0; n < v.pairs.size(); ++n) v.pairs[n] = PairOf(s, n);
  return v;
}

constexpr Vocabulary kLower = ToVocabulary(kLowerSpelling);
constexpr Vocabulary kUpper = ToVocabulary(kUpperSpelling);

// Twelve digit positions are worded; "mil millones" is the largest scale word.
constexpr std::int64_t kWordedLimit = 1'000'000'000'000;  // 10^12, first amount without words
static_assert(kWordedLimit <= INT64_MAX / Currency::kScale, "the limit must fit as currency");

// Appends the words of one group of three digits, without its scale.
void PutGroup(Writer& out, std::uint32_t group, const Vocabulary& v) {  // group: [0, 999]
  if (group == 100) return out.Put(v.hundred);
  out.Put(v.hundreds[group / 100]);
  out.Put(v.pairs[group % 100]);
}

// Room for everything but the caller's texts: the figure, the longest wording (four groups of
// at most 34 units and the scale words, 162 in all), the suffix and the decoration, 212 units,
// and one word slot past the last word.
constexpr std::size_t kResultRoom = 256;
static_assert(kResultRoom >= 212 + PairWord::kSlot);

}  // namespace

void PutFigure(Writer& out, std::int64_t scaled, std::u16string_view symbol, bool money,
               const LocaleData& loc, bool upper) {
  // The magnitude as unsigned: -INT64_MIN does not fit a signed value.
  const std::uint64_t mag = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled)
                                       : static_cast<std::uint64_t>(scaled);  // [0, 2^63]
  // Two decimals, halves away from zero, as a number layout rounds.
  const std::uint64_t cents = (mag + 50) / 100;  // [0, 2^63 / 100 + 1]
  std::uint64_t whole = cents / 100;
  const auto decimals = static_cast<unsigned>(cents % 100);  // [0, 99]

  if (scaled < 0) out.Put(u'-');
  // The symbol is copied as it is; only the blanks the trim reaches go.
  const std::u16string_view sym = money ? TrimLeftBlanks(symbol) : std::u16string_view{};
  if (!sym.empty()) {
    out.Put(sym, upper);
    out.Put(u' ');
  }
  // At most 15 integer digits and 4 group marks, written from the right.
  std::array<char16_t, 24> buf{};
  std::size_t pos = buf.size();
  int in_group = 0;
  const char16_t group_mark = upper ? UpperChar(loc.group_mark) : loc.group_mark;
  do {
    if (in_group == 3) {
      buf[--pos] = group_mark;
      in_group = 0;
    }
    buf[--pos] = static_cast<char16_t>(u'0' + whole % 10);
    whole /= 10;
    ++in_group;
  } while (whole != 0);
  out.Put(std::u16string_view(buf.data() + pos, buf.size() - pos));
  out.Put(upper ? UpperChar(loc.decimal_mark) : loc.decimal_mark);
  out.Put(static_cast<char16_t>(u'0' + decimals / 10));
  out.Put(static_cast<char16_t>(u'0' + decimals % 10));
}

void PutOpening(Writer& out, std::int64_t scaled, const AmountText& text, const LocaleData& loc) {
  if (text.parentheses && text.show_figure && text.figure_inside) out.Put(u"( ");
  if (text.show_figure) {
    PutFigure(out, scaled, text.symbol, text.money, loc, text.upper);
    out.Put(!text.parentheses ? u"  " : text.figure_inside ? u", " : u", ( ");
  } else if (text.parentheses) {
    out.Put(u"( ");
  }
}

std::u16string LegacyWords(Currency amount, const AmountText& text, const LocaleData& loc) {
  const std::int64_t scaled = amount.scaled();
  if (scaled < 0) throw Error(err::kTypeMismatch);
  const auto whole = static_cast<std::uint64_t>(scaled / Currency::kScale);  // [0, 2^63 / 10^4]
  if (whole >= kWordedLimit) throw Error(err::kOverflow);
  const auto fraction = static_cast<int>(scaled % Currency::kScale);  // [0, 9999]
  const int cents = fraction / 100;  // truncated, never rounded: [0, 99]

  // The twelve digit positions as four groups of three: G1 thousands of millions, G2 millions,
  // G3 thousands, G4 units.
  const auto g1 = static_cast<std::uint32_t>(whole / 1'000'000'000);     // [0, 999]
  const auto g2 = static_cast<std::uint32_t>(whole / 1'000'000 % 1000);  // [0, 999]
  const auto g3 = static_cast<std::uint32_t>(whole / 1000 % 1000);       // [0, 999]
  const auto g4 = static_cast<std::uint32_t>(whole % 1000);              // [0, 999]

  // Upper-casing is one to one, so the room needed is known before writing.
  ResultBuffer buffer(kResultRoom + text.symbol.size() + text.singular.size() + text.mark.size());
  Writer out(buffer.data());

  // The whole result is in capitals when asked: the words come from the capital vocabulary and
  // every caller's text is upper-cased as it is copied, unless it is in capitals already.
  const bool upper = text.upper;
  const bool upper_texts = upper && !text.cased;
  const Vocabulary& v = upper ? kUpper : kLower;
  PutOpening(out, scaled, text, loc);

  const std::size_t words_begin = out.size();
  if (g1 != 0) {
    PutGroup(out, g1, v);
    out.Put(v.thousand_millions);
  }
  if (g2 != 0) {
    PutGroup(out, g2, v);
    out.Put(g2 == 1 ? v.million : v.millions);
  }
  if (g3 != 0) {
    PutGroup(out, g3, v);
    out.Put(v.thousand);
  }
  PutGroup(out, g4, v);

  if (text.money) {
    if (whole == 1) {
      out.Put(text.singular, upper_texts);
      out.Put(u", ");
    } else {
      // Exactly one million reads "un millon de pesos"; two million takes no "de".
      if (whole == 1'000'000) out.Put(v.of);
      out.Put(text.singular, upper_texts);
      out.Put(v.plural);
    }
    out.PutTwoDigits(cents);
    out.Put(u"/100 ");
    out.Put(text.mark, upper_texts);
  } else if (fraction > 0) {
    // The fraction decides, not the cents: 15.0001 reads "quince con 00".
    out.Put(v.with);
    out.PutTwoDigits(cents);
  }
  out.TrimFrom(words_begin);
  if (text.parentheses) out.Put(u" )");
  return out.Text();
}

}  // namespace amount_detail

std::u16string AmountFigure(Currency amount, std::u16string_view symbol, bool money,
                            const LocaleData& loc) {
  std::u16string buffer(amount_detail::kFigureRoom + symbol.size(), u'\0');
  amount_detail::Writer out(buffer.data());
  amount_detail::PutFigure(out, amount.scaled(), symbol, money, loc, false);
  buffer.resize(out.size());
  return buffer;
}

namespace {

bool FlagOption(const Variant& v, bool fallback, const LocaleData& loc) {
  return v.IsMissing() ? fallback : ToBoolean(v, loc);
}

// A text option: the caller's own text when it is one, else its conversion kept in `store`.
std::u16string_view TextOption(const Variant& v, std::u16string_view fallback,
                               std::u16string& store, const LocaleData& loc) {
  if (v.IsMissing()) return fallback;
  if (v.is(VarType::kText)) return v.text();
  store = ToText(v, loc);
  return store;
}

}  // namespace

// The automation face of the legacy wording: each variant option takes its default when left
// out, and the texts reach the wording as the host gave them.
std::u16string Dolva::Letras(Currency& Cantidad, Variant& bEsDinero, Variant& sSimbolo,
                             Variant& sQueMoneda, Variant& sEsMonedaNal, Variant& bEnMayusculas,
                             Variant& bParentesis, Variant& bMuestraImporte,
                             Variant& bImporteAdentro) {
  const LocaleData& loc = locale();
  amount_detail::AmountText text;
  // The options are read in their order, so that of two bad ones the first raises.
  text.money = FlagOption(bEsDinero, true, loc);
  auto flags_and_words = [&] {
    text.upper = FlagOption(bEnMayusculas, true, loc);
    text.parentheses = FlagOption(bParentesis, false, loc);
    text.show_figure = FlagOption(bMuestraImporte, false, loc);
    text.figure_inside = FlagOption(bImporteAdentro, false, loc);
    if (text.cased && text.upper) text.singular = u"PESO";
    return amount_detail::LegacyWords(Cantidad, text, loc);
  };
  if (sSimbolo.IsMissing() && sQueMoneda.IsMissing() && sEsMonedaNal.IsMissing()) {
    // The defaults need no conversion, and their capitals are ready: "$", "PESO", "M.N.".
    text.cased = true;
    return flags_and_words();
  }
  std::u16string symbol_store, name_store, mark_store;
  text.symbol = TextOption(sSimbolo, u"$", symbol_store, loc);
  text.singular = TextOption(sQueMoneda, u"Peso", name_store, loc);
  text.mark = TextOption(sEsMonedaNal, u"M.N.", mark_store, loc);
  return flags_and_words();
}

}  // namespace velmora
