#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>

#include "../test_util.h"
#include "letras_floor.h"
#include "letras_reference.h"
#include "velmora/amounts.h"
#include "velmora/dispatch.h"
#include "velmora/money_words.h"
#include "velmora/radix.h"
#include "velmora/scramble.h"
#include "velmora/text.h"

namespace velmora {
namespace {

const LocaleData kEs = SpanishMexico();

Currency Amount(std::u16string_view text) { return *ParseCurrency(text, kEs); }

struct Opt {
  std::u16string name;
  Variant value;
};

class TextTest : public ::testing::Test {
 protected:
  std::u16string Words(std::u16string_view amount) {
    Currency c = Amount(amount);
    Variant m[8] = {Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing(),
                    Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing()};
    return d_.Letras(c, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]);
  }
  // Calls by name, with positional (empty name) and named arguments as a host passes them;
  // `first_written` reports whether the first argument was written back.
  Variant Call(std::u16string_view name, const std::vector<Opt>& opts,
               bool* first_written = nullptr) {
    std::vector<Argument> args;
    for (const auto& o : opts) {
      args.emplace_back();
      args.back().name = o.name;
      args.back().value = o.value;
    }
    Variant result = Invoke(d_, name, args);
    if (first_written != nullptr) *first_written = args.at(0).written;
    return result;
  }
  std::u16string Text(std::u16string_view name, Variant arg) {
    return Call(name, {{u"", std::move(arg)}}).text();
  }
  int ErrorIn(std::u16string_view name, Variant arg) {
    return ErrorOf([&] { Call(name, {{u"", std::move(arg)}}); });
  }

  Dolva d_{FixedServices(MakeDate({2026, 12, 5}))};
};

TEST_F(TextTest, LetrasDefaults) {
  struct Case {
    const char16_t* amount;
    const char16_t* words;
  } cases[] = {
      {u"0", u"PESOS, 00/100 M.N."},
      {u"1", u"UN PESO, 00/100 M.N."},
      {u"1.5", u"UN PESO, 50/100 M.N."},
      {u"15", u"QUINCE PESOS, 00/100 M.N."},
      {u"16", u"DIECISÉIS PESOS, 00/100 M.N."},
      {u"20", u"VEINTE PESOS, 00/100 M.N."},
      {u"21", u"VEINTIUN PESOS, 00/100 M.N."},
      {u"35.5", u"TREINTA  Y CINCO PESOS, 50/100 M.N."},
      {u"100", u"CIEN PESOS, 00/100 M.N."},
      {u"101", u"CIENTO UN PESOS, 00/100 M.N."},
      {u"110", u"CIENTO DIEZ PESOS, 00/100 M.N."},
      {u"1000", u"UN MIL PESOS, 00/100 M.N."},
      {u"1021", u"UN MIL VEINTIUN PESOS, 00/100 M.N."},
      {u"100000", u"CIEN MIL PESOS, 00/100 M.N."},
      {u"1000000", u"UN MILLON DE PESOS, 00/100 M.N."},
      {u"1000001", u"UN MILLON UN PESOS, 00/100 M.N."},
      {u"2000000", u"DOS MILLONES PESOS, 00/100 M.N."},
      {u"2500000.5", u"DOS MILLONES QUINIENTOS MIL PESOS, 50/100 M.N."},
      {u"1000000000", u"UN MIL MILLONES PESOS, 00/100 M.N."},
      {u"1.125", u"UN PESO, 12/100 M.N."},
      {u"0.0099", u"PESOS, 00/100 M.N."},
      {u"0.999", u"PESOS, 99/100 M.N."},
      {u"1001000000", u"UN MIL MILLONES UN MILLON PESOS, 00/100 M.N."},
      {u"999999999999.9999",
       u"NOVECIENTOS NOVENTA  Y NUEVE MIL MILLONES NOVECIENTOS NOVENTA  Y NUEVE MILLONES "
       u"NOVECIENTOS NOVENTA  Y NUEVE MIL NOVECIENTOS NOVENTA  Y NUEVE PESOS, 99/100 M.N."},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(Words(c.amount)), U8(c.words)) << U8(c.amount);
}

TEST_F(TextTest, LetrasOptionsByName) {
  const std::u16string words = u"UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N.";
  struct Case {
    std::vector<Opt> options;
    std::u16string expected;
  } cases[] = {
      {{}, words},
      {{{u"bEnMayusculas", false}}, u"un mil doscientos treinta  y cuatro Pesos, 50/100 M.N."},
      {{{u"bMuestraImporte", true}}, u"$ 1,234.50  " + words},
      {{{u"bParentesis", true}}, u"( " + words + u" )"},
      {{{u"bParentesis", true}, {u"bMuestraImporte", true}}, u"$ 1,234.50, ( " + words + u" )"},
      {{{u"bParentesis", true}, {u"bMuestraImporte", true}, {u"bImporteAdentro", u"True"}},
       u"( $ 1,234.50, " + words + u" )"},
      {{{u"bImporteAdentro", true}}, words},
      // Positional options after the amount, in the interface's order.
      {{{u"", true},
        {u"", u"US$"},
        {u"", u"Dolar"},
        {u"", u"USD"},
        {u"", false},
        {u"", false},
        {u"", true}},
       u"US$ 1,234.50  un mil doscientos treinta  y cuatro Dolars, 50/100 USD"},
      // A symbol is copied as it is, placeholders included.
      {{{u"sSimbolo", u"#0.,"}, {u"bMuestraImporte", true}}, u"#0., 1,234.50  " + words},
      {{{u"sSimbolo", u"  "}, {u"bMuestraImporte", true}}, u"1,234.50  " + words},
      // The caller's texts are upper-cased too, accented letters included.
      {{{u"sSimbolo", u"cól"}, {u"sQueMoneda", u"colón"}, {u"bMuestraImporte", true}},
       u"CÓL 1,234.50  UN MIL DOSCIENTOS TREINTA  Y CUATRO COLÓNS, 50/100 M.N."},
  };
  for (auto& c : cases) {
    std::vector<Opt> args{{u"", u"1234.5"}};
    args.insert(args.end(), c.options.begin(), c.options.end());
    bool amount_written = true;
    EXPECT_EQ(U8(Call(u"Letras", args, &amount_written).text()), U8(c.expected));
    EXPECT_FALSE(amount_written);  // the amount is never changed
  }
}

TEST_F(TextTest, LetrasPlainNumbersAndOtherCurrencies) {
  struct Case {
    const char16_t* amount;
    std::vector<Opt> options;
    const char16_t* expected;
  } cases[] = {
      {u"15", {{u"bEsDinero", false}}, u"QUINCE"},
      {u"15.5", {{u"bEsDinero", false}}, u"QUINCE CON 50"},
      {u"0", {{u"bEsDinero", false}}, u""},
      {u"15.5", {{u"bEsDinero", false}, {u"bMuestraImporte", true}}, u"15.50  QUINCE CON 50"},
      {u"0", {{u"bEsDinero", false}, {u"bParentesis", true}}, u"(  )"},
      {u"15.0001", {{u"bEsDinero", false}}, u"QUINCE CON 00"},
      {u"2", {{u"sQueMoneda", u"Dolar"}, {u"sEsMonedaNal", u"USD"}}, u"DOS DOLARS, 00/100 USD"},
      {u"2", {{u"sEsMonedaNal", u""}}, u"DOS PESOS, 00/100"},
      {u"1.125", {{u"bMuestraImporte", true}}, u"$ 1.13  UN PESO, 12/100 M.N."},
      {u"0.005", {{u"bMuestraImporte", true}}, u"$ 0.01  PESOS, 00/100 M.N."},
      {u"999999999999.995",
       {{u"bMuestraImporte", true}, {u"bParentesis", true}},
       u"$ 1,000,000,000,000.00, ( NOVECIENTOS NOVENTA  Y NUEVE MIL MILLONES NOVECIENTOS "
       u"NOVENTA  Y NUEVE MILLONES NOVECIENTOS NOVENTA  Y NUEVE MIL NOVECIENTOS NOVENTA  Y "
       u"NUEVE PESOS, 99/100 M.N. )"},
  };
  for (auto& c : cases) {
    std::vector<Opt> args{{u"", c.amount}};
    args.insert(args.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(U8(Call(u"Letras", args).text()), U8(c.expected)) << U8(c.amount);
  }
}

TEST_F(TextTest, LetrasFailures) {
  struct Case {
    std::vector<Opt> args;
    int error;
  } cases[] = {
      {{{u"", u"-0.01"}}, err::kTypeMismatch},
      {{{u"", u"1000000000000"}}, err::kOverflow},
      {{{u"", Currency::FromScaled(INT64_MAX)}}, err::kOverflow},
      {{{u"", u"5"}, {u"bParentesis", Variant::Null()}}, err::kInvalidNull},
      {{{u"", u"5"}, {u"bEsDinero", u"quizá"}}, err::kTypeMismatch},
      {{{u"bEsDinero", true}}, err::kArgNotOptional},
      {{{u"", u"5"}, {u"bColor", true}}, err::kNamedArgNotFound},
  };
  for (auto& c : cases) EXPECT_EQ(ErrorOf([&] { Call(u"Letras", c.args); }), c.error);
}

TEST(AmountFigure, FollowsTheLocaleMarks) {
  LocaleData es_es = kEs;
  es_es.group_mark = u'.';
  es_es.decimal_mark = u',';
  EXPECT_EQ(AmountFigure(Amount(u"1234567.5"), u"$", true, es_es), u"$ 1.234.567,50");
  EXPECT_EQ(AmountFigure(Amount(u"0"), u"$", true, kEs), u"$ 0.00");
  EXPECT_EQ(AmountFigure(Amount(u"-1.005"), u"$", true, kEs), u"-$ 1.01");
  EXPECT_EQ(AmountFigure(Currency::FromScaled(INT64_MIN), u"", false, kEs),
            u"-922,337,203,685,477.58");
}

// Reads lower-case plain-number wording back into its value; nullopt for a word out of place.
std::optional<std::int64_t> ReadWords(const std::u16string& text) {
  static const std::u16string kUnit[] = {u"un",   u"dos",   u"tres", u"cuatro", u"cinco",
                                         u"seis", u"siete", u"ocho", u"nueve"};
  static const std::u16string kTen[] = {u"diez",     u"veinte",    u"treinta",
                                        u"cuarenta", u"cincuenta", u"sesenta",
                                        u"setenta",  u"ochenta",   u"noventa"};
  static const std::u16string kTeen[] = {u"once",       u"doce",      u"trece",
                                         u"catorce",    u"quince",    u"dieciséis",
                                         u"diecisiete", u"dieciocho", u"diecinueve"};
  static const std::u16string kHundred[] = {u"ciento",        u"doscientos",  u"trescientos",
                                            u"cuatrocientos", u"quinientos",  u"seiscientos",
                                            u"setecientos",   u"ochocientos", u"novecientos"};
  auto find = [](const auto& table, const std::u16string& w) -> int {
    for (int i = 0; i < 9; ++i)
      if (table[i] == w) return i + 1;
    return 0;
  };
  std::vector<std::u16string> words;
  std::u16string w;
  for (const char16_t c : text + u" ") {
    if (c != u' ') w += c;
    else if (!w.empty()) words.push_back(std::exchange(w, {}));
  }
  std::int64_t total = 0, group = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto& x = words[i];
    if (int v = find(kUnit, x)) group += v;
    else if (int v = find(kTen, x)) {
      group += std::int64_t{10} * v;
      if (i + 2 < words.size() && words[i + 1] == u"y") {
        if (v < 3 || !find(kUnit, words[i + 2])) return std::nullopt;
        ++i;
      }
    } else if (int v = find(kTeen, x)) group += 10 + v;
    else if (int v = find(kHundred, x)) group += std::int64_t{100} * v;
    else if (x == u"cien") group += 100;
    else if (x.starts_with(u"veinti") && find(kUnit, x.substr(6)))
      group += 20 + find(kUnit, x.substr(6));
    else if (x == u"mil" && i + 1 < words.size() && words[i + 1] == u"millones") {
      total += group * 1'000'000'000, group = 0, ++i;
    } else if (x == u"millon" || x == u"millones") {
      if ((group == 1) != (x == u"millon")) return std::nullopt;
      total += group * 1'000'000, group = 0;
    } else if (x == u"mil") total += group * 1000, group = 0;
    else return std::nullopt;
  }
  return total + group;
}

TEST_F(TextTest, LetrasWordsReadBackToTheirValue) {
  std::vector<std::int64_t> values;
  for (std::int64_t n = 0; n <= 2100; ++n) values.push_back(n);
  std::uint64_t lcg = 12345;
  for (int i = 0; i < 20000; ++i) {
    lcg = lcg * 6364136223846793005ULL + 1442695040888963407ULL;
    values.push_back(static_cast<std::int64_t>((lcg >> 20) % 1'000'000'000'000ULL) /
                     static_cast<std::int64_t>(1 + (lcg & 0xFFFFF)));
  }
  for (const std::int64_t n : values) {
    Currency c = Currency::FromWhole(n);
    Variant no = Variant(false), m = Variant::Missing();
    const std::u16string text = d_.Letras(c, no, m, m, m, no, m, m, m);
    ASSERT_EQ(ReadWords(text), n) << U8(text);
    ASSERT_EQ(text.find(u"   "), std::u16string::npos) << U8(text);
  }
}

// Random amounts for the comparisons below: whole parts of every length from 0 to 12 digits,
// fractions of every shape, and now and then one without words (negative, 10^12 or more).
class RandomAmounts {
 public:
  explicit RandomAmounts(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  Currency Amount(bool with_edges) {
    static constexpr std::int64_t kPow10[] = {1,
                                              10,
                                              100,
                                              1000,
                                              10'000,
                                              100'000,
                                              1'000'000,
                                              10'000'000,
                                              100'000'000,
                                              1'000'000'000,
                                              10'000'000'000,
                                              100'000'000'000,
                                              1'000'000'000'000};
    const std::uint64_t r = Next();
    const auto digits = static_cast<std::size_t>(r % 13);  // [0, 12]
    std::int64_t whole =
        static_cast<std::int64_t>((r >> 8) % 1'000'000'000'000ULL) % kPow10[digits];  // [0, 10^12)
    // Round counts of every scale, where "un", "cien", "millon" and "de" change.
    if ((r >> 52) % 8 == 0) whole -= whole % kPow10[(r >> 56) % 10];
    std::int64_t fraction = 0;  // ten-thousandths
    switch ((r >> 4) % 4) {
      case 0: break;
      case 1: fraction = static_cast<std::int64_t>((r >> 20) % 100) * 100; break;
      default: fraction = static_cast<std::int64_t>((r >> 20) % 10'000); break;
    }
    std::int64_t scaled = whole * Currency::kScale + fraction;
    if (with_edges && (r >> 40) % 64 == 0) {
      scaled = (r >> 46) % 2 == 0 ? -scaled - 1 : scaled + 1'000'000'000'000 * Currency::kScale;
    }
    return Currency::FromScaled(scaled);
  }

 private:
  std::uint64_t state_;
};

// How many random amounts the comparisons take: a million, a tenth of that in a sanitized build
// (which is there for memory faults, and runs ten times slower); a longer run can be asked for
// with VELMORA_LETRAS_AMOUNTS.
std::size_t ComparedAmounts() {
#if defined(__SANITIZE_ADDRESS__)
  constexpr std::size_t kDefault = 100'000;
#else
  constexpr std::size_t kDefault = 1'000'000;
#endif
  const char* env = std::getenv("VELMORA_LETRAS_AMOUNTS");
  return env != nullptr ? static_cast<std::size_t>(std::strtoull(env, nullptr, 10)) : kDefault;
}

template <typename F>
std::u16string TextOrError(F&& f) {
  try {
    return f();
  } catch (const Error& e) {
    return u"error " + Widen(std::to_string(e.number()));
  }
}

// Letras must give the text of the wording it replaced, character for character, for every
// amount and every combination of options: each option is left out, or given as a flag or text
// from a pool of awkward ones (blanks at the ends, accents, empty, not a text), under locales
// with other marks.
TEST(LetrasAgainstPrevious, SameTextForRandomAmountsAndOptions) {
  LocaleData dots = kEs;
  dots.group_mark = u'.';
  dots.decimal_mark = u',';
  LocaleData spaced = kEs;
  spaced.group_mark = u'\u00A0';
  spaced.decimal_mark = u'\u00B7';
  const LocaleData locales[] = {kEs, dots, spaced};
  Dolva instances[] = {Dolva(FixedServices(Date{}, locales[0])),
                       Dolva(FixedServices(Date{}, locales[1])),
                       Dolva(FixedServices(Date{}, locales[2]))};
  Variant flags[] = {Variant::Missing(), Variant::Missing(),       Variant(true),
                     Variant(false),     Variant(std::int16_t{0}), Variant(u"Verdadero")};
  Variant texts[] = {Variant::Missing(),
                     Variant::Missing(),
                     Variant::Missing(),
                     Variant(u""),
                     Variant(u"$"),
                     Variant(u"  US$ "),
                     Variant(u"#"),
                     Variant(u"\u20AC"),
                     Variant(u"Peso"),
                     Variant(u"d\u00F3lar"),
                     Variant(u" peso  "),
                     Variant(u"M.N."),
                     Variant(u"m.n. "),
                     Variant(u"\u00F1and\u00FA"),
                     Variant(std::int16_t{5}),
                     Variant(u" ")};
  // Now and then one or two options that raise an error, which must be the same one.
  Variant bad[] = {Variant(u"quiz\u00E1"), Variant::Null()};
  RandomAmounts source(20261205);
  const std::size_t count = ComparedAmounts();
  int failures = 0;
  for (std::size_t i = 0; i < count && failures < 10; ++i) {
    Currency amount = source.Amount(true);
    std::uint64_t pick = source.Next();
    const std::size_t where = pick % 3;
    pick /= 3;
    auto flag = [&]() -> Variant& {
      Variant& v = flags[pick % std::size(flags)];
      pick /= std::size(flags);
      return v;
    };
    auto text = [&]() -> Variant& {
      Variant& v = texts[pick % std::size(texts)];
      pick /= std::size(texts);
      return v;
    };
    Variant* o[8] = {&flag(), &text(), &text(), &text(), &flag(), &flag(), &flag(), &flag()};
    const std::uint64_t spoil = source.Next();
    if (spoil % 32 == 0) o[(spoil >> 8) % 8] = &bad[(spoil >> 16) % 2];
    if (spoil % 256 == 0) o[(spoil >> 24) % 8] = &bad[(spoil >> 32) % 2];
    const std::u16string expected = TextOrError([&] {
      return reference::Letras(amount, *o[0], *o[1], *o[2], *o[3], *o[4], *o[5], *o[6], *o[7],
                               locales[where]);
    });
    const std::u16string actual = TextOrError([&] {
      return instances[where].Letras(amount, *o[0], *o[1], *o[2], *o[3], *o[4], *o[5], *o[6],
                                     *o[7]);
    });
    if (actual != expected) {
      ++failures;
      ADD_FAILURE() << amount.scaled() << " options " << ::testing::PrintToString(*o[0]) << ", "
                    << ::testing::PrintToString(*o[1]) << ", " << ::testing::PrintToString(*o[2])
                    << ", " << ::testing::PrintToString(*o[3]) << ", "
                    << ::testing::PrintToString(*o[4]) << ", " << ::testing::PrintToString(*o[5])
                    << ", " << ::testing::PrintToString(*o[6]) << ", "
                    << ::testing::PrintToString(*o[7]) << ": \"" << U8(actual) << "\", was \""
                    << U8(expected) << "\"";
    }
  }
}

// The legacy wording of AmountInWords is the same wording under plain options.
TEST(LetrasAgainstPrevious, AmountInWordsLegacyForRandomAmounts) {
  RandomAmounts source(7);
  const char* symbols[] = {"$", "", " US$", "\xE2\x82\xAC"};
  const char* codes[] = {"MXN", "usd", "EUR"};
  const char16_t* nouns[] = {u"Peso", u"D\u00F3lar", u"Euro"};
  const char16_t* marks[] = {u"M.N.", u"USD", u"EUR"};
  const std::optional<std::string_view> nationals[] = {std::nullopt, "", "m.n. "};
  for (int i = 0; i < 100'000; ++i) {
    const Currency amount = source.Amount(false);
    const std::uint64_t pick = source.Next();
    AmountOptions options{.money = (pick & 1) != 0,
                          .upper = (pick & 2) != 0,
                          .parentheses = (pick & 4) != 0,
                          .show_figure = (pick & 8) != 0,
                          .figure_inside = (pick & 16) != 0,
                          .symbol = symbols[(pick >> 5) % 4],
                          .currency = codes[(pick >> 7) % 3],
                          .national = nationals[(pick >> 9) % 3]};
    const std::size_t c = (pick >> 7) % 3;
    const std::u16string symbol = FromUtf8(options.symbol);
    const std::u16string national = options.national ? FromUtf8(*options.national) : u"";
    const reference::LetrasText text{
        options.money,
        options.upper,
        options.parentheses,
        options.show_figure,
        options.figure_inside,
        symbol,
        nouns[c],
        options.national ? std::u16string_view(national) : std::u16string_view(marks[c])};
    ASSERT_EQ(U8(AmountInWordsUtf16(amount, options)),
              U8(reference::LegacyWords(amount, text, kEs)))
        << amount.scaled() << " pick " << pick;
  }
}

// The yardstick of the benchmarks words the same amounts as Letras with its defaults: the
// benchmark's own million (below 10^9 with cents, from the same generator) and as many of
// every length.
TEST_F(TextTest, LetrasFloorIsTheSameText) {
  Variant m = Variant::Missing();
  std::uint64_t x = 0x9E3779B97F4A7C15ULL;
  RandomAmounts source(99);
  const std::size_t count = ComparedAmounts();
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    const auto cents = static_cast<std::int64_t>((x >> 16) % 100'000'000'001);
    for (Currency amount : {Currency::FromScaled(cents * 100), source.Amount(false)}) {
      ASSERT_EQ(U8(bench::LetrasFloor(amount)), U8(d_.Letras(amount, m, m, m, m, m, m, m, m)))
          << amount.scaled();
    }
  }
}

TEST_F(TextTest, RomanNumerals) {
  struct Case {
    std::int16_t value;
    const char16_t* roman;
  } cases[] = {{1, u"I"},       {4, u"IV"},           {9, u"IX"},       {14, u"XIV"},
               {40, u"XL"},     {90, u"XC"},          {400, u"CD"},     {1994, u"MCMXCIV"},
               {2009, u"MMIX"}, {3999, u"MMMCMXCIX"}, {0, u""},         {4000, u"4000"},
               {-1, u"-1"},     {-32768, u"-32768"},  {32767, u"32767"}};
  for (const auto& c : cases) EXPECT_EQ(Text(u"NumRomano", c.value), c.roman) << c.value;

  // An independent reader: each letter adds, or subtracts when a larger one follows.
  auto read = [](const std::u16string& r) {
    auto val = [](char16_t c) {
      constexpr int kValues[] = {1, 5, 10, 50, 100, 500, 1000};
      return kValues[std::u16string_view(u"IVXLCDM").find(c)];
    };
    int sum = 0;
    for (std::size_t i = 0; i < r.size(); ++i)
      sum += (i + 1 < r.size() && val(r[i]) < val(r[i + 1])) ? -val(r[i]) : val(r[i]);
    return sum;
  };
  std::set<std::u16string> seen;
  for (std::int16_t n = 1; n <= 3999; ++n) {
    const std::u16string r = RomanNumeral(n);
    ASSERT_EQ(read(r), n) << U8(r);
    ASSERT_EQ(r.find(u"IIII"), std::u16string::npos);
    ASSERT_TRUE(seen.insert(r).second);
  }
}

TEST_F(TextTest, CentringParityAndReversing) {
  struct Case {
    const char16_t* text;
    std::int16_t width;
    const char16_t* expected;
  } cases[] = {{u"abc", 9, u"   abc   "}, {u"abc", 8, u"  abc  "}, {u"  abc  ", 2, u"abc"},
               {u"", 4, u"    "},         {u"abc", -5, u"abc"},    {u"   ", 3, u"  "}};
  for (const auto& c : cases) {
    EXPECT_EQ(Call(u"Centra_Textos", {{u"", c.text}, {u"", c.width}}), Variant(c.expected));
  }
  const std::u16string long_text(10'000, u'x');
  EXPECT_EQ(CenterText(long_text, 32767).size(), 32'767u - 1);
  EXPECT_EQ(CenterText(long_text, 5), long_text);

  struct Parity {
    std::int16_t n;
    bool even;
  } parities[] = {{0, true}, {-4, true}, {-32768, true}, {7, false}, {-3, false}, {32767, false}};
  for (const auto& p : parities) EXPECT_EQ(Call(u"EsNumeroPar", {{u"", p.n}}), Variant(p.even));

  std::vector<Argument> none;
  for (const char16_t* name : {u"Ana Luz", u"", u"a\U0001F600b"}) {
    PutField(d_, u"Name", Variant(name));
    Invoke(d_, u"ReverseName", none);
    const std::u16string once = d_.Name;
    EXPECT_EQ(once.size(), std::u16string_view(name).size());
    EXPECT_EQ(ToUtf8(once).find("\xEF\xBF\xBD"), std::string::npos);  // no broken pair
    d_.ReverseName();
    EXPECT_EQ(d_.Name, name);
  }
  d_.Name = u"Ana Luz";
  d_.ReverseName();
  EXPECT_EQ(d_.Name, u"zuL anA");
}

TEST_F(TextTest, BaseConversions) {
  struct Case {
    const char16_t* op;
    Variant arg;
    const char16_t* expected;  // nullptr: fails with `error`
    int error = 0;
  } cases[] = {
      {u"DecBin", u"10", u"1010"},
      {u"DecBin", u"1", u"1"},
      {u"DecBin", u"0", u""},
      {u"DecBin", u"-5", u""},
      {u"DecBin", u"4.5", u"101"},
      {u"DecBin", u"0.0001", u"0"},
      {u"DecBin", u"0.0003", u"1"},
      {u"DecBin", u"1.9999", u"10"},  // the half 0.99995 is held as 1.0000
      {u"BinDec", u"1010", u"10"},
      {u"BinDec", u"", u"0"},
      {u"BinDec", u"12", u"4"},
      {u"BinDec", u" 1a1", u"5"},
      {u"DecOct", u"8", u"10"},
      {u"DecOct", u"2.5", u"2"},
      {u"DecOct", u"3.5", u"4"},
      {u"DecOct", u"-1", u"37777777777"},
      {u"DecOct", u"0", u"0"},
      {u"DecOct", u"-2147483648", u"20000000000"},
      {u"DecOct", u"2147483647.5", nullptr, err::kOverflow},
      {u"DecOct", u"-2147483649", nullptr, err::kOverflow},
      {u"DecHex", u"255", u"FF"},
      {u"DecHex", u"-1", u"FFFFFFFF"},
      {u"DecHex", u"0", u"0"},
      {u"DecHex", u"-2147483648.5", u"80000000"},
      {u"DecHex", u"2147483647.5", nullptr, err::kOverflow},
      {u"DecHex", u"abc", nullptr, err::kTypeMismatch},
      {u"DecHex", u"", nullptr, err::kTypeMismatch},
      {u"BinOct", u"1010", u"12"},
      {u"BinOct", u"11111111", u"377"},
      {u"BinOct", u"0", u"0"},
      {u"BinOct", u"111", u"07"},  // the rewriting's blank counts
      {u"BinOct", u"111111111111111", u"077777"},
      {u"BinOct", u"1000000000000000", nullptr, err::kOverflow},
      {u"BinOct", u"", nullptr, err::kTypeMismatch},
      {u"BinOct", u"abc", nullptr, err::kTypeMismatch},
      {u"BinHex", u"1010", u"A"},
      {u"BinHex", u"11111", u"1F"},
      {u"BinHex", u"11111111", u"FF"},
      {u"BinHex", u"100000000", u"100"},
      {u"BinHex", u" 1010", u"0A"},
      {u"BinHex", u"", u""},
      {u"BinHex", u"abcd", nullptr, err::kTypeMismatch},
      {u"OctBin", u"12", u" 1010"},
      {u"OctBin", u"0", u" 0"},
      {u"OctBin", u"7", u" 111"},
      {u"OctBin", u"8", u" 1000"},
      {u"OctBin", u"77777", u" 111111111111111"},
      {u"OctBin", u"000017", u" 1111"},
      {u"OctBin", u"100000", nullptr, err::kOverflow},
      {u"OctBin", u"1 2", nullptr, err::kTypeMismatch},
      {u"OctBin", u"", nullptr, err::kTypeMismatch},
      {u"HexBin", u"1F", u"00011111"},
      {u"HexBin", u"a", u"1010"},
      {u"HexBin", u"0", u"0000"},
      {u"HexBin", u"", u""},
      {u"HexBin", u"G", nullptr, err::kTypeMismatch},
      {u"HexBin", u"1 ", nullptr, err::kTypeMismatch},
      {u"HexDec", u"1F", u"31"},
      {u"HexDec", u"FF", u"255"},
      {u"HexDec", u"FFFFFFFF", u"4294967295"},
      {u"HexDec", u"38D7EA4C68000", u"1E+15"},
      {u"HexDec", u"x", nullptr, err::kTypeMismatch},
  };
  for (const auto& c : cases) {
    if (c.expected == nullptr) {
      EXPECT_EQ(ErrorIn(c.op, c.arg), c.error) << U8(c.op) << " " << U8(c.arg.text());
    } else {
      EXPECT_EQ(U8(Text(c.op, c.arg)), U8(c.expected)) << U8(c.op) << " " << U8(c.arg.text());
    }
  }
}

TEST_F(TextTest, BaseConversionsRoundTrip) {
  std::uint32_t lcg = 7;
  for (int i = 0; i < 3000; ++i) {
    lcg = lcg * 1664525u + 1013904223u;
    const auto n = static_cast<std::int32_t>(lcg);
    char oct[16], hex[16];
    std::snprintf(oct, sizeof oct, "%o", static_cast<unsigned>(lcg));
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(lcg));
    ASSERT_EQ(d_.DecOct(Currency::FromWhole(n)), Widen(oct));
    const std::u16string h = d_.DecHex(Widen(std::to_string(n)));
    ASSERT_EQ(h, Widen(hex));
    ASSERT_EQ(d_.HexDec(h), Widen(std::to_string(lcg)));
    ASSERT_EQ(d_.BinHex(d_.HexBin(h)), h);
    const std::u16string bin = d_.DecBin(Currency::FromWhole(lcg));
    ASSERT_EQ(d_.BinDec(bin), Widen(std::to_string(lcg)));
    if (lcg < 32768) {  // the 15 binary digits the decimal rewriting carries
      ASSERT_EQ(u" " + bin, d_.OctBin(Widen(oct)));
      const std::u16string back = d_.BinOct(bin);
      ASSERT_EQ(std::u16string(back.substr(back.find_first_not_of(u'0') == std::u16string::npos
                                               ? back.size() - 1
                                               : back.find_first_not_of(u'0'))),
                Widen(oct));
    }
    lcg >>= i % 17;  // small values too
  }
}

TEST_F(TextTest, ScramblingIsAReversibleFixedKey) {
  EXPECT_EQ(Text(u"Encripta", u""), u"");
  EXPECT_EQ(Text(u"DesEncripta", u""), u"");
  EXPECT_EQ(d_.Encripta(u"Aa"), u"X\u00AD");
  const std::u16string one = d_.Encripta(u"k"), two = d_.Encripta(u"kk");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], one[0]);
  EXPECT_NE(two[1], two[0]);
  // Outside the code page a character is "?", as the code page's conversion makes it.
  EXPECT_EQ(d_.DesEncripta(d_.Encripta(u"\u0100\u4E2D")), u"??");

  // Every code that fits, at either parity, comes back; the code page is one to one.
  std::u16string odd, even;
  for (int code = 0; code < 256; ++code) {
    const char16_t c = Windows1252Char(static_cast<std::uint8_t>(code));
    EXPECT_EQ(Windows1252Code(c), code);
    if (code + kScrambleOddOffset <= 255) odd += c;
    if (code + kScrambleEvenOffset <= 255) even += c;
  }
  for (const bool at_odd : {true, false}) {
    std::u16string text;  // each character at the parity that fits it
    for (const char16_t c : at_odd ? odd : even)
      text += at_odd ? std::u16string{c, u'a'} : std::u16string{u'a', c};
    const std::u16string scrambled = d_.Encripta(text);
    EXPECT_EQ(scrambled.size(), text.size());
    EXPECT_EQ(d_.DesEncripta(scrambled), text);
  }
  EXPECT_EQ(Windows1252Code(u'\u20AC'), 0x80);
  EXPECT_EQ(Windows1252Char(0x9F), u'\u0178');

  EXPECT_EQ(ErrorIn(u"Encripta", u"abc\u00FF"), err::kInvalidCall);
  EXPECT_EQ(ErrorIn(u"Encripta", u"a\u00C0"), err::kInvalidCall);  // 192 + 76 at an even place
  EXPECT_EQ(ErrorIn(u"DesEncripta", u"\u0016"), err::kInvalidCall);
  EXPECT_EQ(ErrorIn(u"DesEncripta", u"xK"), err::kInvalidCall);  // 75 below the even offset
}

// Awkward arguments give a result or one of the operation's own errors: never a crash or hang.
TEST_F(TextTest, AwkwardArgumentsGiveAResultOrADocumentedError) {
  const std::vector<Variant> awkward = {
      Variant(u""),
      Variant(std::u16string(10'000, u'1')),
      Variant(u"0" + std::u16string(9'999, u'0') + u"1"),
      Variant(std::u16string(10'000, u'F')),
      Variant(std::u16string(10'000, u'\u00FF')),
      Variant(std::u16string(40'000, u'7')),
      Variant(u"-1"),
      Variant(u"1e300"),
      Variant(std::int16_t{-32768}),
      Variant(Currency::FromScaled(INT64_MAX)),
      Variant(Currency::FromScaled(INT64_MIN)),
  };
  for (const char16_t* name : {u"NumRomano", u"Centra_Textos", u"EsNumeroPar", u"Encripta",
                               u"DesEncripta", u"DecBin", u"DecOct", u"DecHex", u"BinDec",
                               u"BinOct", u"BinHex", u"OctBin", u"HexDec", u"HexBin", u"Letras"}) {
    const Operation* op = FindOperation(Interface::kDolva, name);
    ASSERT_NE(op, nullptr);
    const std::vector<int> documented = DocumentedErrors(*op);
    for (const Variant& v : awkward) {
      std::vector<Argument> args(op->params.size());
      for (auto& a : args) a.value = v;
      if (op->name == u"Letras") args.resize(1);
      const int e = ErrorOf([&] { Invoke(d_, name, args); });
      EXPECT_TRUE(e == 0 || std::count(documented.begin(), documented.end(), e))
          << U8(name) << " raised " << e;
    }
  }
  EXPECT_EQ(ErrorIn(u"BinDec", std::u16string(10'000, u'1')), err::kOverflow);
  EXPECT_EQ(Text(u"BinDec", u"1" + std::u16string(1023, u'0')), u"8.98846567431158E+307");
  EXPECT_EQ(ErrorIn(u"BinHex", std::u16string(32'765, u'1')), err::kOverflow);
  EXPECT_EQ(Text(u"BinHex", std::u16string(32'764, u'1')), std::u16string(8'191, u'F'));
  EXPECT_EQ(ErrorIn(u"HexDec", std::u16string(10'000, u'F')), err::kOverflow);
  // Long currency texts outgrow the usual room for the result.
  const std::u16string long_name(10'000, u'\u00F1');
  const std::u16string long_text = Call(u"Letras", {{u"", u"2"},
                                                    {u"sSimbolo", long_name},
                                                    {u"sQueMoneda", long_name},
                                                    {u"sEsMonedaNal", long_name},
                                                    {u"bMuestraImporte", true}})
                                       .text();
  EXPECT_EQ(long_text, std::u16string(10'000, u'\u00D1') + u" 2.00  DOS " +
                           std::u16string(10'000, u'\u00D1') + u"S, 00/100 " +
                           std::u16string(10'000, u'\u00D1'));
}

// Calls by name go through a sorted index of the table: every slot must be found in any case,
// and nothing else.
TEST(CallByName, EveryOperationIsFoundByItsNameInAnyCase) {
  for (const auto& op : Surface()) {
    std::u16string lower(op.name);
    for (auto& c : lower) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
    for (const std::u16string& name : {std::u16string(op.name), lower, UpperCase(op.name)}) {
      const Operation* found = FindOperation(op.iface, name, op.kind);
      ASSERT_NE(found, nullptr) << U8(name);
      EXPECT_EQ(found->name, op.name);
      EXPECT_TRUE(found->kind == op.kind && found->iface == op.iface);
    }
    EXPECT_EQ(FindOperation(op.iface, std::u16string(op.name) + u"x", op.kind), nullptr);
  }
  EXPECT_EQ(FindOperation(Interface::kDolva, std::u16string(100, u'A')), nullptr);
  EXPECT_EQ(FindOperation(Interface::kDolva, u""), nullptr);
  EXPECT_EQ(FindOperation(Interface::kAPIs, u"Letras"), nullptr);
}

}  // namespace
}  // namespace velmora
