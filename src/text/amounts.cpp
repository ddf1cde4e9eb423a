// The modern wording of amounts and AmountInWords, the C++ face of both wordings.
#include "velmora/amounts.h"

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#include "text/amount_words.h"
#include "velmora/error.h"
#include "velmora/utf.h"

namespace velmora {
namespace amount_detail {
namespace {

// The standard Spanish cardinal words, each with one trailing blank so that joining them is
// concatenation; the trailing blank of the last word is trimmed with the rest of the text.
template <typename W>
struct ModernVocabularyOf {
  std::array<W, 10> units;     // uno to nueve
  std::array<W, 10> teens;     // diez to diecinueve
  std::array<W, 10> twenties;  // veinte to veintinueve, one word each
  std::array<W, 10> tens;      // treinta to noventa (the first three unused)
  std::array<W, 10> hundreds;  // ciento to novecientos
  // "un" and "veintiún" are the forms of "uno" and "veintiuno" before a noun: "un millón",
  // "veintiún mil", "treinta y un pesos".
  W zero, one_before_noun, twenty_one_before_noun, hundred, and_word;
  W thousand, million, millions, billion, billions, of, with;
};

using ModernSpelling = ModernVocabularyOf<std::u16string_view>;
using ModernVocabulary = ModernVocabularyOf<Word>;

constexpr ModernSpelling kModernSpelling = {
    {u"", u"uno ", u"dos ", u"tres ", u"cuatro ", u"cinco ", u"seis ", u"siete ", u"ocho ",
     u"nueve "},
    {u"diez ", u"once ", u"doce ", u"trece ", u"catorce ", u"quince ", u"diecis\u00E9is ",
     u"diecisiete ", u"dieciocho ", u"diecinueve "},
    {u"veinte ", u"veintiuno ", u"veintid\u00F3s ", u"veintitr\u00E9s ", u"veinticuatro ",
     u"veinticinco ", u"veintis\u00E9is ", u"veintisiete ", u"veintiocho ", u"veintinueve "},
    {u"", u"", u"", u"treinta ", u"cuarenta ", u"cincuenta ", u"sesenta ", u"setenta ", u"ochenta ",
     u"noventa "},
    {u"", u"ciento ", u"doscientos ", u"trescientos ", u"cuatrocientos ", u"quinientos ",
     u"seiscientos ", u"setecientos ", u"ochocientos ", u"novecientos "},
    u"cero ",
    u"un ",
    u"veinti\u00FAn ",
    u"cien ",
    u"y ",
    u"mil ",
    u"mill\u00F3n ",
    u"millones ",
    u"bill\u00F3n ",
    u"billones ",
    u"de ",
    u"con ",
};

// The capital of a letter of the words: plain letters and the Latin-1 accented ones.
consteval Word Upper(Word w) {
  for (std::size_t i = 0; i < w.size; ++i) {
    const char16_t c = w.units[i];
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) w.units[i] = c - 0x20;
  }
  return w;
}

template <std::size_t N>
consteval std::array<Word, N> Upper(std::array<Word, N> words) {
  for (Word& w : words) w = Upper(w);
  return words;
}

consteval ModernVocabulary ToVocabulary(const ModernSpelling& s, bool upper) {
  auto word = [upper](std::u16string_view t) consteval {
    return upper ? Upper(ToWord(t)) : ToWord(t);
  };
  auto words = [upper](const std::array<std::u16string_view, 10>& t) consteval {
    return upper ? Upper(ToWords(t)) : ToWords(t);
  };
  return {
      words(s.units),    words(s.teens),   words(s.twenties),       words(s.tens),
      words(s.hundreds), word(s.zero),     word(s.one_before_noun), word(s.twenty_one_before_noun),
      word(s.hundred),   word(s.and_word), word(s.thousand),        word(s.million),
      word(s.millions),  word(s.billion),  word(s.billions),        word(s.of),
      word(s.with)};
}

constexpr ModernVocabulary kModernLower = ToVocabulary(kModernSpelling, false);
constexpr ModernVocabulary kModernUpper = ToVocabulary(kModernSpelling, true);

// Words of 1 to 999. `before_noun` gives a final "uno" its short form.
void PutHundreds(Writer& out, std::uint32_t n, bool before_noun, const ModernVocabulary& v) {
  if (n == 100) return out.Put(v.hundred);  // "cien", but "ciento uno"
  const std::uint32_t h = n / 100;          // [0, 9]
  const std::uint32_t r = n % 100;          // [0, 99]
  out.Put(v.hundreds[h]);
  if (r == 0) return;
  if (r < 10) return out.Put(r == 1 && before_noun ? v.one_before_noun : v.units[r]);
  if (r < 20) return out.Put(v.teens[r - 10]);
  if (r < 30)
    return out.Put(r == 21 && before_noun ? v.twenty_one_before_noun : v.twenties[r - 20]);
  out.Put(v.tens[r / 10]);
  const std::uint32_t u = r % 10;  // [0, 9]
  if (u == 0) return;
  out.Put(v.and_word);
  out.Put(u == 1 && before_noun ? v.one_before_noun : v.units[u]);
}

// Words of 1 to 999 999: "mil" alone for a thousand, and the thousands count always before the
// noun "mil" ("veintiún mil").
void PutThousands(Writer& out, std::uint32_t n, bool before_noun, const ModernVocabulary& v) {
  const std::uint32_t thousands = n / 1000;  // [0, 999]
  const std::uint32_t rest = n % 1000;       // [0, 999]
  if (thousands > 1) PutHundreds(out, thousands, true, v);
  if (thousands > 0) out.Put(v.thousand);
  if (rest > 0) PutHundreds(out, rest, before_noun, v);
}

// Spanish counts by the long scale: a million millions is "un billón", and a thousand millions
// is "mil millones", never "un millardo".
constexpr std::uint64_t kMillion = 1'000'000;
constexpr std::uint64_t kBillion = kMillion * kMillion;

// Words of any whole number the currency holds, 0 included ("cero").
void PutCardinal(Writer& out, std::uint64_t n, bool before_noun, const ModernVocabulary& v) {
  if (n == 0) return out.Put(v.zero);
  const auto billions = static_cast<std::uint32_t>(n / kBillion);             // [0, 922]
  const auto millions = static_cast<std::uint32_t>(n / kMillion % kMillion);  // [0, 999999]
  const auto rest = static_cast<std::uint32_t>(n % kMillion);                 // [0, 999999]
  if (billions == 1) {
    out.Put(v.one_before_noun);
    out.Put(v.billion);
  } else if (billions > 1) {
    PutThousands(out, billions, true, v);
    out.Put(v.billions);
  }
  if (millions == 1) {
    out.Put(v.one_before_noun);
    out.Put(v.million);
  } else if (millions > 1) {
    PutThousands(out, millions, true, v);
    out.Put(v.millions);
  }
  if (rest > 0) PutThousands(out, rest, before_noun, v);
}

// Room for everything but the caller's texts: the figure (32), the decoration (6), the longest
// words (groups of at most 33 units, as "cuatrocientos cincuenta y cuatro ", with their scale
// words: 42 for the billones, 79 for the millions and 70 for the rest), "de ", the blank and
// the cents (8), and one word slot past the last word.
constexpr std::size_t kModernRoom = 320;
static_assert(kModernRoom >= kFigureRoom + 6 + (42 + 79 + 70) + 3 + 8 + Word::kSlot);

// Rounding up to cents never passes the largest whole count of cents, so the rounded amount
// fits again as ten-thousandths for the figure.
static_assert(INT64_MAX % 100 < 50);

}  // namespace

std::u16string ModernWords(Currency amount, const AmountText& text, const LocaleData& loc) {
  const std::int64_t scaled = amount.scaled();
  if (scaled < 0) throw Error(err::kInvalidCall);
  // Halves up to cents, once: the words, the cents and the figure all read this amount.
  const std::int64_t in_cents =
      scaled / 100 + (scaled % 100 >= 50 ? 1 : 0);                // [0, INT64_MAX / 100]
  const auto whole = static_cast<std::uint64_t>(in_cents / 100);  // [0, 922337203685477]
  const auto cents = static_cast<int>(in_cents % 100);            // [0, 99]

  const std::u16string_view noun = whole == 1 ? text.singular : text.plural;
  ResultBuffer buffer(kModernRoom + text.symbol.size() + noun.size() + text.mark.size());
  Writer out(buffer.data());
  const ModernVocabulary& v = text.upper ? kModernUpper : kModernLower;
  PutOpening(out, in_cents * 100, text, loc);

  const std::size_t words_begin = out.size();
  // A plain number ends in "uno" ("veintiuno"); money ends in the noun ("veintiún pesos").
  PutCardinal(out, whole, text.money, v);
  const bool upper_texts = text.upper && !text.cased;
  if (text.money) {
    // A count that ends in "millón" or "billón" is a noun itself: "un millón de pesos".
    if (whole >= kMillion && whole % kMillion == 0) out.Put(v.of);
    out.Put(noun, upper_texts);
    out.Put(u' ');
    out.PutTwoDigits(cents);
    out.Put(u"/100 ");
    out.Put(text.mark, upper_texts);
  } else if (cents > 0) {
    out.Put(v.with);
    out.PutTwoDigits(cents);
    out.Put(u"/100");
  }
  out.TrimFrom(words_begin);
  if (text.parentheses) out.Put(u" )");
  return out.Text();
}

}  // namespace amount_detail

namespace {

// What an ISO 4217 code stands for: the noun the legacy wording pluralises with "s", the
// modern nouns, and the mark after the cents.
struct CurrencyEntry {
  std::string_view code;
  std::u16string_view legacy_noun;
  std::u16string_view singular;
  std::u16string_view plural;
  std::u16string_view mark;
};

constexpr CurrencyEntry kCurrencies[] = {
    {"MXN", u"Peso", u"peso", u"pesos", u"M.N."},
    {"USD", u"D\u00F3lar", u"d\u00F3lar", u"d\u00F3lares", u"USD"},
    {"EUR", u"Euro", u"euro", u"euros", u"EUR"},
};

bool SameCode(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

const LocaleData& LocaleOf(const AmountOptions& options) {
  static const LocaleData kSpanishMexico = SpanishMexico();
  return options.locale != nullptr ? *options.locale : kSpanishMexico;
}

std::u16string Words(Currency amount, const AmountOptions& options, const LocaleData& loc) {
  const CurrencyEntry* currency = nullptr;
  for (const auto& c : kCurrencies) {
    if (SameCode(options.currency, c.code)) currency = &c;
  }
  if (currency == nullptr) throw Error(err::kInvalidCall);
  const std::u16string symbol = FromUtf8(options.symbol);
  const std::u16string national = options.national ? FromUtf8(*options.national) : u"";

  amount_detail::AmountText text;
  text.money = options.money;
  text.upper = options.upper;
  text.parentheses = options.parentheses;
  text.show_figure = options.show_figure;
  text.figure_inside = options.figure_inside;
  text.symbol = symbol;
  text.mark = options.national ? std::u16string_view(national) : currency->mark;
  switch (options.wording) {
    case Wording::kLegacy:
      text.singular = currency->legacy_noun;
      return amount_detail::LegacyWords(amount, text, loc);
    case Wording::kModern:
      text.singular = currency->singular;
      text.plural = currency->plural;
      return amount_detail::ModernWords(amount, text, loc);
  }
  throw Error(err::kInvalidCall);
}

// Runs a wording, raising its error with the description in the language of the call's locale.
template <typename Amount>
std::u16string WordsIn(Amount amount, const AmountOptions& options) {
  const LocaleData& loc = LocaleOf(options);
  try {
    if constexpr (std::is_same_v<Amount, double>) {
      return Words(Currency::FromDouble(amount), options, loc);
    } else {
      return Words(amount, options, loc);
    }
  } catch (const Error& e) {
    throw Error(e.number(), e.description(loc.spanish));
  }
}

}  // namespace

std::string AmountInWords(Currency amount, const AmountOptions& options) {
  return ToUtf8(WordsIn(amount, options));
}

std::string AmountInWords(double amount, const AmountOptions& options) {
  return ToUtf8(WordsIn(amount, options));
}

std::u16string AmountInWordsUtf16(Currency amount, const AmountOptions& options) {
  return WordsIn(amount, options);
}

std::u16string AmountInWordsUtf16(double amount, const AmountOptions& options) {
  return WordsIn(amount, options);
}

}  // namespace velmora
