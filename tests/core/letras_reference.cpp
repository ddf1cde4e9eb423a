// The previous wording of amounts, kept verbatim but for its names: twelve digits filled on the
// left as text, words appended digit by digit, the text trimmed by a copy.
#include "letras_reference.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/text.h"

namespace velmora::reference {
namespace {

struct Word {
  static constexpr std::size_t kSlot = 16;
  std::array<char16_t, kSlot> units{};
  std::size_t size = 0;
};

consteval Word ToWord(std::u16string_view text) {
  if (text.size() > Word::kSlot) throw "a word longer than its slot";
  Word w;
  for (std::size_t i = 0; i < text.size(); ++i) w.units[i] = text[i];
  w.size = text.size();
  return w;
}

template <std::size_t N>
consteval std::array<Word, N> ToWords(const std::array<std::u16string_view, N>& texts) {
  std::array<Word, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = ToWord(texts[i]);
  return out;
}

class Writer {
 public:
  explicit Writer(char16_t* buffer) : begin_(buffer), end_(buffer) {}

  void Put(std::u16string_view text) { end_ = std::copy(text.begin(), text.end(), end_); }
  void Put(const Word& word) {
    std::memcpy(end_, word.units.data(), sizeof word.units);
    end_ += word.size;
  }
  void Put(char16_t c) { *end_++ = c; }
  void Put(std::u16string_view text, bool upper) {
    if (!upper) return Put(text);
    for (const char16_t c : text) {
      *end_++ =
          c < 0x80 ? (c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c) : UpperChar(c);
    }
  }
  std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }
  void TrimFrom(std::size_t from) {
    char16_t* first = begin_ + from;
    while (end_ > first && end_[-1] == u' ') --end_;
    char16_t* lead = first;
    while (lead < end_ && *lead == u' ') ++lead;
    end_ = std::copy(lead, end_, first);
  }
  std::u16string Text() const { return {begin_, end_}; }

 private:
  char16_t* begin_;
  char16_t* end_;
};

class ResultBuffer {
 public:
  explicit ResultBuffer(std::size_t room) {
    if (room > local_.size()) large_.resize(room);
  }
  char16_t* data() { return large_.empty() ? local_.data() : large_.data(); }

 private:
  std::array<char16_t, 512> local_;
  std::u16string large_;
};

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

constexpr int kWordedDigits = 12;
constexpr std::int64_t kWordedLimit = 1'000'000'000'000;

void PutGroup(Writer& out, const char16_t* digits, const Vocabulary& v) {
  const auto h = static_cast<std::size_t>(digits[0] - u'0');
  const auto t = static_cast<std::size_t>(digits[1] - u'0');
  const auto u = static_cast<std::size_t>(digits[2] - u'0');
  if (h == 0 && t == 0 && u == 0) return;
  if (h == 0 && t == 0 && u == 1) return out.Put(v.one);
  if (h == 1 && t == 0 && u == 0) return out.Put(v.hundred);
  out.Put(v.hundreds[h]);
  if (u == 0) {
    out.Put(v.tens[t]);
  } else if (t == 1) {
    out.Put(v.teens[u]);
  } else if (t == 2) {
    out.Put(v.twenty_prefix);
    out.Put(v.units[u]);
  } else if (t >= 3) {
    out.Put(v.tens[t]);
    out.Put(v.and_word);
    out.Put(v.units[u]);
  } else {
    out.Put(v.units[u]);
  }
}

bool IsZeroGroup(const char16_t* d) { return d[0] == u'0' && d[1] == u'0' && d[2] == u'0'; }
bool IsOneGroup(const char16_t* d) { return d[0] == u'0' && d[1] == u'0' && d[2] == u'1'; }

constexpr std::size_t kResultRoom = 256;

void PutFigure(Writer& out, std::int64_t scaled, std::u16string_view symbol, bool money,
               const LocaleData& loc, bool upper) {
  const std::uint64_t mag =
      scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  const std::uint64_t cents = (mag + 50) / 100;
  std::uint64_t whole = cents / 100;
  const auto decimals = static_cast<unsigned>(cents % 100);

  if (scaled < 0) out.Put(u'-');
  const std::u16string_view sym = money ? TrimLeftBlanks(symbol) : std::u16string_view{};
  if (!sym.empty()) {
    out.Put(sym, upper);
    out.Put(u' ');
  }
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

void PutOpening(Writer& out, std::int64_t scaled, const LetrasText& text, const LocaleData& loc) {
  if (text.parentheses && text.show_figure && text.figure_inside) out.Put(u"( ");
  if (text.show_figure) {
    PutFigure(out, scaled, text.symbol, text.money, loc, text.upper);
    out.Put(!text.parentheses ? u"  " : text.figure_inside ? u", " : u", ( ");
  } else if (text.parentheses) {
    out.Put(u"( ");
  }
}

bool FlagOption(const Variant& v, bool fallback, const LocaleData& loc) {
  return v.IsMissing() ? fallback : ToBoolean(v, loc);
}

std::u16string_view TextOption(const Variant& v, std::u16string_view fallback,
                               std::u16string& store, const LocaleData& loc) {
  if (v.IsMissing()) return fallback;
  if (v.is(VarType::kText)) return v.text();
  store = ToText(v, loc);
  return store;
}

}  // namespace

std::u16string LegacyWords(Currency amount, const LetrasText& text, const LocaleData& loc) {
  const std::int64_t scaled = amount.scaled();
  if (scaled < 0) throw Error(err::kTypeMismatch);
  const std::int64_t whole = scaled / Currency::kScale;
  if (whole >= kWordedLimit) throw Error(err::kOverflow);
  const auto fraction = static_cast<int>(scaled % Currency::kScale);
  const int cents = fraction / 100;

  std::array<char16_t, kWordedDigits> raw{};
  std::size_t pos = raw.size();
  std::int64_t rest = whole;
  do {
    raw[--pos] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  const std::u16string digits =
      PadLeft(std::u16string_view(raw.data() + pos, raw.size() - pos), kWordedDigits);

  ResultBuffer buffer(kResultRoom + text.symbol.size() + text.singular.size() + text.mark.size());
  Writer out(buffer.data());

  const bool upper = text.upper;
  const Vocabulary& v = upper ? kUpper : kLower;
  PutOpening(out, scaled, text, loc);

  const std::size_t words_begin = out.size();
  const char16_t* g = digits.data();
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
      if (whole == 1'000'000) out.Put(v.of);
      out.Put(text.singular, upper);
      out.Put(v.plural);
    }
    out.Put(std::u16string_view(cents_text, 2));
    out.Put(u"/100 ");
    out.Put(text.mark, upper);
  } else if (fraction > 0) {
    out.Put(v.with);
    out.Put(std::u16string_view(cents_text, 2));
  }
  out.TrimFrom(words_begin);
  if (text.parentheses) out.Put(u" )");
  return out.Text();
}

std::u16string Letras(Currency amount, const Variant& bEsDinero, const Variant& sSimbolo,
                      const Variant& sQueMoneda, const Variant& sEsMonedaNal,
                      const Variant& bEnMayusculas, const Variant& bParentesis,
                      const Variant& bMuestraImporte, const Variant& bImporteAdentro,
                      const LocaleData& loc) {
  LetrasText text;
  std::u16string symbol_store, name_store, mark_store;
  text.money = FlagOption(bEsDinero, true, loc);
  text.symbol = TextOption(sSimbolo, u"$", symbol_store, loc);
  text.singular = TextOption(sQueMoneda, u"Peso", name_store, loc);
  text.mark = TextOption(sEsMonedaNal, u"M.N.", mark_store, loc);
  text.upper = FlagOption(bEnMayusculas, true, loc);
  text.parentheses = FlagOption(bParentesis, false, loc);
  text.show_figure = FlagOption(bMuestraImporte, false, loc);
  text.figure_inside = FlagOption(bImporteAdentro, false, loc);
  return LegacyWords(amount, text, loc);
}

}  // namespace velmora::reference
