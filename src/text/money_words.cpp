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
template <typename W>
struct VocabularyOf {
  std::array<W, 10> units, tens, teens, hundreds;
  W one, hundred, twenty_prefix, and_word;
  W thousand_millions, million, millions, thousand, of, plural, with;
};

using Spelling = VocabularyOf<std::u16string_view>;
using Vocabulary = VocabularyOf<Word>;

consteval Vocabulary ToVocabulary(const Spelling& s) {
  return {ToWords(s.units),
          ToWords(s.tens),
          ToWords(s.teens),
          ToWords(s.hundreds),
          ToWord(s.one),
          ToWord(s.hundred),
          ToWord(s.twenty_prefix),
          ToWord(s.and_word),
          ToWord(s.thousand_millions),
          ToWord(s.million),
          ToWord(s.millions),
          ToWord(s.thousand),
          ToWord(s.of),
          ToWord(s.plural),
          ToWord(s.with)};
}

constexpr Spelling kLowerSpelling = {
    {u"", u"un ", u"dos ", u"tres ", u"cuatro ", u"cinco ", u"seis ", u"siete ", u"ocho ",
     u"nueve "},
    {u"", u"diez ", u"veinte ", u"treinta ", u"cuarenta ", u"cincuenta ", u"sesenta ", u"setenta ",
     u"ochenta ", u"noventa "},
    {u"diez ", u"once ", u"doce ", u"trece ", u"catorce ", u"quince ", u"diecis\u00E9is ",
     u"diecisiete ", u"dieciocho ", u"diecinueve "},
    {u"", u"ciento ", u"doscientos ", u"trescientos ", u"cuatrocientos ", u"quinientos ",
     u"seiscientos ", u"setecientos ", u"ochocientos ", u"novecientos "},
    u"un ",
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
    u"UN ",
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

constexpr Vocabulary kLower = ToVocabulary(kLowerSpelling);
constexpr Vocabulary kUpper = ToVocabulary(kUpperSpelling);

// Twelve digit positions are worded; "mil millones" is the largest scale word.
constexpr int kWordedDigits = 12;
constexpr std::int64_t kWordedLimit = 1'000'000'000'000;  // 10^12, first amount without words
static_assert(kWordedLimit <= INT64_MAX / Currency::kScale, "the limit must fit as currency");

// Appends the words of one group of three digits (hundreds, tens, units), without its scale.
void PutGroup(Writer& out, const char16_t* digits, const Vocabulary& v) {
  const auto h = static_cast<std::size_t>(digits[0] - u'0');  // [0, 9]
  const auto t = static_cast<std::size_t>(digits[1] - u'0');  // [0, 9]
  const auto u = static_cast<std::size_t>(digits[2] - u'0');  // [0, 9]
  if (h == 0 && t == 0 && u == 0) return;
  // One is "un" in every position: "un mil", "un millon", "un mil millones".
  if (h == 0 && t == 0 && u == 1) return out.Put(v.one);
  if (h == 1 && t == 0 && u == 0) return out.Put(v.hundred);
  out.Put(v.hundreds[h]);
  if (u == 0) {
    out.Put(v.tens[t]);
  } else if (t == 1) {
    out.Put(v.teens[u]);
  } else if (t == 2) {
    out.Put(v.twenty_prefix);  // one word with its units: "veintiun", "veintidos"
    out.Put(v.units[u]);
  } else if (t >= 3) {
    out.Put(v.tens[t]);
    out.Put(v.and_word);
    out.Put(v.units[u]);
  } else {
    out.Put(v.units[u]);
  }
}

// Whether a group of three digits is "000", or "001".
bool IsZeroGroup(const char16_t* d) { return d[0] == u'0' && d[1] == u'0' && d[2] == u'0'; }
bool IsOneGroup(const char16_t* d) { return d[0] == u'0' && d[1] == u'0' && d[2] == u'1'; }

// Room for everything but the caller's texts: the figure, the longest wording (four groups of
// at most 34 units and the scale words, 162 in all), the suffix and the decoration, 212 units,
// and one word slot past the last word.
constexpr std::size_t kResultRoom = 256;
static_assert(kResultRoom >= 212 + Word::kSlot);

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
  const std::int64_t whole = scaled / Currency::kScale;  // [0, 922337203685477]
  if (whole >= kWordedLimit) throw Error(err::kOverflow);
  const auto fraction = static_cast<int>(scaled % Currency::kScale);  // [0, 9999]
  const int cents = fraction / 100;  // truncated, never rounded: [0, 99]

  // The whole part in twelve digits, filled on the left as every routine of the library fills.
  std::array<char16_t, kWordedDigits> raw{};
  std::size_t pos = raw.size();
  std::int64_t rest = whole;  // [0, 10^12)
  do {
    raw[--pos] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  const std::u16string digits =
      PadLeft(std::u16string_view(raw.data() + pos, raw.size() - pos), kWordedDigits);

  // Upper-casing is one to one, so the room needed is known before writing.
  ResultBuffer buffer(kResultRoom + text.symbol.size() + text.singular.size() + text.mark.size());
  Writer out(buffer.data());

  // The whole result is in capitals when asked: the words come from the capital vocabulary and
  // every caller's text is upper-cased as it is copied.
  const bool upper = text.upper;
  const Vocabulary& v = upper ? kUpper : kLower;
  PutOpening(out, scaled, text, loc);

  const std::size_t words_begin = out.size();
  const char16_t* g = digits.data();  // G1 thousands of millions, G2 millions, G3 thousands, G4
  PutGroup(out, g, v);
  if (!IsZeroGroup(g)) out.Put(v.thousand_millions);
  PutGroup(out, g + 3, v);
  if (IsOneGroup(g + 3)) out.Put(v.million);
  else if (!IsZeroGroup(g + 3)) out.Put(v.millions);
  PutGroup(out, g + 6, v);
  if (!IsZeroGroup(g + 6)) out.Put(v.thousand);
  PutGroup(out, g + 9, v);

  const char16_t cents_text[2] = {static_cast<char16_t>(u'0' + cents / 10),
                                  static_cast<char16_t>(u'0' + cents % 10)};
  if (text.money) {
    if (whole == 1) {
      out.Put(text.singular, upper);
      out.Put(u", ");
    } else {
      // Exactly one million reads "un millon de pesos"; two million takes no "de".
      if (whole == 1'000'000) out.Put(v.of);
      out.Put(text.singular, upper);
      out.Put(v.plural);
    }
    out.Put(std::u16string_view(cents_text, 2));
    out.Put(u"/100 ");
    out.Put(text.mark, upper);
  } else if (fraction > 0) {
    // The fraction decides, not the cents: 15.0001 reads "quince con 00".
    out.Put(v.with);
    out.Put(std::u16string_view(cents_text, 2));
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
  std::u16string symbol_store, name_store, mark_store;
  text.money = FlagOption(bEsDinero, true, loc);
  text.symbol = TextOption(sSimbolo, u"$", symbol_store, loc);
  text.singular = TextOption(sQueMoneda, u"Peso", name_store, loc);
  text.mark = TextOption(sEsMonedaNal, u"M.N.", mark_store, loc);
  text.upper = FlagOption(bEnMayusculas, true, loc);
  text.parentheses = FlagOption(bParentesis, false, loc);
  text.show_figure = FlagOption(bMuestraImporte, false, loc);
  text.figure_inside = FlagOption(bImporteAdentro, false, loc);
  return amount_detail::LegacyWords(Cantidad, text, loc);
}

}  // namespace velmora
