#include "velmora/amounts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../test_util.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

const LocaleData kEs = SpanishMexico();

Currency Amount(std::u16string_view text) { return *ParseCurrency(text, kEs); }

constexpr Wording kModern = Wording::kModern;

// The legacy wording must be Letras itself: every combination of the flags, every currency
// with its own mark, another mark and none, over amounts of every shape Letras is tested with.
TEST(AmountInWords, LegacyIsLetrasWithTheSameOptions) {
  Dolva d(FixedServices(MakeDate({2026, 12, 5})));
  const char16_t* amounts[] = {u"0",          u"1",          u"1.5",     u"15.0001",
                               u"16",         u"21",         u"35.5",    u"101",
                               u"1000",       u"1021",       u"1000000", u"1000001",
                               u"2000000",    u"1.125",      u"0.0099",  u"0.999",
                               u"1001000000", u"1000000000", u"0.005",   u"999999999999.9999"};
  struct Money {
    std::string_view code;
    std::u16string noun;  // what Letras is given for the code
    std::u16string mark;
  } currencies[] = {{"MXN", u"Peso", u"M.N."}, {"usd", u"Dólar", u"USD"}, {"EUR", u"Euro", u"EUR"}};
  int compared = 0;
  for (const char16_t* text : amounts) {
    for (const Money& m : currencies) {
      for (const std::optional<std::u16string>& mark :
           {std::optional<std::u16string>(), std::optional<std::u16string>(u""),
            std::optional<std::u16string>(u"m.n.")}) {
        for (int flags = 0; flags < 32; ++flags) {
          const bool money = flags & 1, upper = flags & 2, parens = flags & 4, figure = flags & 8,
                     inside = flags & 16;
          const std::string national = mark ? U8(*mark) : "";
          AmountOptions o{.money = money,
                          .upper = upper,
                          .parentheses = parens,
                          .show_figure = figure,
                          .figure_inside = inside,
                          .symbol = "us$",
                          .currency = m.code};
          if (mark) o.national = national;
          Currency c = Amount(text);
          Variant v[8] = {money, u"us$", m.noun, mark ? *mark : m.mark,
                          upper, parens, figure, inside};
          const std::u16string letras = d.Letras(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
          ASSERT_EQ(U8(AmountInWordsUtf16(c, o)), U8(letras)) << U8(text) << " flags " << flags;
          ASSERT_EQ(AmountInWords(c, o), U8(letras));
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 20 * 3 * 3 * 32);
  // The defaults are those of Letras.
  Currency c = Amount(u"1234.5");
  Variant m[8] = {Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing(),
                  Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing()};
  EXPECT_EQ(AmountInWordsUtf16(c), d.Letras(c, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]));
  EXPECT_EQ(AmountInWords(1234.5), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N.");
}

TEST(AmountInWords, ModernWording) {
  const AmountOptions modern{.wording = kModern};
  const AmountOptions usd{.currency = "USD", .wording = kModern};
  const AmountOptions eur{.currency = "EUR", .wording = kModern};
  const AmountOptions lower{.upper = false, .wording = kModern};
  const AmountOptions plain{.money = false, .wording = kModern};
  const std::string words = "MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N.";
  struct Case {
    const char16_t* amount;
    AmountOptions options;
    std::string expected;
  } cases[] = {
      {u"0", modern, "CERO PESOS 00/100 M.N."},
      {u"1", modern, "UN PESO 00/100 M.N."},
      {u"1.5", modern, "UN PESO 50/100 M.N."},
      {u"16", modern, "DIECISÉIS PESOS 00/100 M.N."},
      {u"21", modern, "VEINTIÚN PESOS 00/100 M.N."},
      {u"22", modern, "VEINTIDÓS PESOS 00/100 M.N."},
      {u"23", modern, "VEINTITRÉS PESOS 00/100 M.N."},
      {u"26", modern, "VEINTISÉIS PESOS 00/100 M.N."},
      {u"31", modern, "TREINTA Y UN PESOS 00/100 M.N."},
      {u"35.5", modern, "TREINTA Y CINCO PESOS 50/100 M.N."},
      {u"100", modern, "CIEN PESOS 00/100 M.N."},
      {u"101", modern, "CIENTO UN PESOS 00/100 M.N."},
      {u"1000", modern, "MIL PESOS 00/100 M.N."},
      {u"1001", modern, "MIL UN PESOS 00/100 M.N."},
      {u"1234.5", modern, words},
      {u"21000", modern, "VEINTIÚN MIL PESOS 00/100 M.N."},
      {u"21021", modern, "VEINTIÚN MIL VEINTIÚN PESOS 00/100 M.N."},
      {u"100000", modern, "CIEN MIL PESOS 00/100 M.N."},
      {u"1000000", modern, "UN MILLÓN DE PESOS 00/100 M.N."},
      {u"1000001", modern, "UN MILLÓN UN PESOS 00/100 M.N."},
      {u"1000100", modern, "UN MILLÓN CIEN PESOS 00/100 M.N."},
      {u"2000000", modern, "DOS MILLONES DE PESOS 00/100 M.N."},
      {u"2000000.75", modern, "DOS MILLONES DE PESOS 75/100 M.N."},
      {u"21000000", modern, "VEINTIÚN MILLONES DE PESOS 00/100 M.N."},
      {u"2500000.5", modern, "DOS MILLONES QUINIENTOS MIL PESOS 50/100 M.N."},
      {u"1000000000", modern, "MIL MILLONES DE PESOS 00/100 M.N."},
      {u"1000000100", modern, "MIL MILLONES CIEN PESOS 00/100 M.N."},
      {u"1001000000", modern, "MIL UN MILLONES DE PESOS 00/100 M.N."},
      {u"1000000000000", modern, "UN BILLÓN DE PESOS 00/100 M.N."},
      {u"1000001000000", modern, "UN BILLÓN UN MILLÓN DE PESOS 00/100 M.N."},
      {u"1001000000000", modern, "UN BILLÓN MIL MILLONES DE PESOS 00/100 M.N."},
      {u"1000000000001", modern, "UN BILLÓN UN PESOS 00/100 M.N."},
      {u"21000000000000", modern, "VEINTIÚN BILLONES DE PESOS 00/100 M.N."},
      // Rounded once, halves up; the words follow the rounded amount.
      {u"1.999", modern, "DOS PESOS 00/100 M.N."},
      {u"1.125", modern, "UN PESO 13/100 M.N."},
      {u"0.005", modern, "CERO PESOS 01/100 M.N."},
      {u"0.0049", modern, "CERO PESOS 00/100 M.N."},
      {u"0.995", modern, "UN PESO 00/100 M.N."},
      {u"999999.995", modern, "UN MILLÓN DE PESOS 00/100 M.N."},
      // Other currencies.
      {u"1", usd, "UN DÓLAR 00/100 USD"},
      {u"2", usd, "DOS DÓLARES 00/100 USD"},
      {u"1000000", usd, "UN MILLÓN DE DÓLARES 00/100 USD"},
      {u"1", eur, "UN EURO 00/100 EUR"},
      {u"21", eur, "VEINTIÚN EUROS 00/100 EUR"},
      {u"2", {.currency = "eur", .wording = kModern}, "DOS EUROS 00/100 EUR"},
      {u"2", {.currency = "USD", .national = "", .wording = kModern}, "DOS DÓLARES 00/100"},
      {u"1234.5",
       {.national = "MXN", .wording = kModern},
       "MIL DOSCIENTOS TREINTA Y CUATRO "
       "PESOS 50/100 MXN"},
      {u"2",
       {.show_figure = true, .symbol = "€", .currency = "EUR", .wording = kModern},
       "€ 2.00  DOS EUROS 00/100 EUR"},
      // Letter case: the words and the noun follow it; the mark is the caller's.
      {u"1234.5", lower, "mil doscientos treinta y cuatro pesos 50/100 M.N."},
      {u"1000000",
       {.upper = false, .currency = "USD", .wording = kModern},
       "un millón de dólares 00/100 USD"},
      {u"2",
       {.upper = false,
        .show_figure = true,
        .symbol = "us$",
        .national = "usd",
        .wording = kModern},
       "us$ 2.00  dos pesos 00/100 usd"},
      {u"2",
       {.show_figure = true, .symbol = "us$", .national = "usd", .wording = kModern},
       "US$ 2.00  DOS PESOS 00/100 USD"},
      // Parentheses and figure.
      {u"1234.5", {.show_figure = true, .wording = kModern}, "$ 1,234.50  " + words},
      {u"1234.5", {.parentheses = true, .wording = kModern}, "( " + words + " )"},
      {u"1234.5",
       {.parentheses = true, .show_figure = true, .wording = kModern},
       "$ 1,234.50, ( " + words + " )"},
      {u"1234.5",
       {.parentheses = true, .show_figure = true, .figure_inside = true, .wording = kModern},
       "( $ 1,234.50, " + words + " )"},
      {u"1234.5", {.figure_inside = true, .wording = kModern}, words},
      {u"1.999", {.show_figure = true, .wording = kModern}, "$ 2.00  DOS PESOS 00/100 M.N."},
      // Plain numbers: "uno" stays whole, hundredths only when there are any.
      {u"0", plain, "CERO"},
      {u"1", plain, "UNO"},
      {u"21", plain, "VEINTIUNO"},
      {u"31", plain, "TREINTA Y UNO"},
      {u"21000", plain, "VEINTIÚN MIL"},
      {u"1000000", plain, "UN MILLÓN"},
      {u"15.5", plain, "QUINCE CON 50/100"},
      {u"15.0001", plain, "QUINCE"},
      {u"0.999", plain, "UNO"},
      {u"15.5", {.money = false, .upper = false, .wording = kModern}, "quince con 50/100"},
      {u"15.5",
       {.money = false, .show_figure = true, .wording = kModern},
       "15.50  QUINCE CON 50/100"},
      {u"0", {.money = false, .parentheses = true, .wording = kModern}, "( CERO )"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AmountInWords(Amount(c.amount), c.options), c.expected) << U8(c.amount);
  }
}

TEST(AmountInWords, ModernWordsTheLargestAmount) {
  EXPECT_EQ(
      AmountInWords(Currency::FromScaled(INT64_MAX), {.show_figure = true, .wording = kModern}),
      "$ 922,337,203,685,477.58  NOVECIENTOS VEINTIDÓS BILLONES TRESCIENTOS TREINTA Y SIETE "
      "MIL DOSCIENTOS TRES MILLONES SEISCIENTOS OCHENTA Y CINCO MIL CUATROCIENTOS SETENTA Y "
      "SIETE PESOS 58/100 M.N.");
  // The longest words of a group in every group, with the figure, between parentheses.
  EXPECT_EQ(
      AmountInWords(
          Amount(u"454454454454454.54"),
          {.parentheses = true, .show_figure = true, .figure_inside = true, .wording = kModern}),
      "( $ 454,454,454,454,454.54, CUATROCIENTOS CINCUENTA Y CUATRO BILLONES "
      "CUATROCIENTOS CINCUENTA Y CUATRO MIL CUATROCIENTOS CINCUENTA Y CUATRO MILLONES "
      "CUATROCIENTOS CINCUENTA Y CUATRO MIL CUATROCIENTOS CINCUENTA Y CUATRO PESOS 54/100 "
      "M.N. )");
  EXPECT_EQ(AmountInWords(Amount(u"900000000000000"), {.wording = kModern}),
            "NOVECIENTOS BILLONES DE PESOS 00/100 M.N.");
  EXPECT_EQ(AmountInWords(Amount(u"777777777777777.77"), {.upper = false, .wording = kModern}),
            "setecientos setenta y siete billones setecientos setenta y siete mil setecientos "
            "setenta y siete millones setecientos setenta y siete mil setecientos setenta y siete "
            "pesos 77/100 M.N.");
}

TEST(AmountInWords, TheHeaderExamples) {
  EXPECT_EQ(AmountInWords(1234.5, {.wording = Wording::kModern}),
            "MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N.");
  EXPECT_EQ(AmountInWords(2000000, {.wording = Wording::kModern}),
            "DOS MILLONES DE PESOS 00/100 M.N.");
  EXPECT_EQ(AmountInWords(21, {.currency = "USD", .wording = Wording::kModern}),
            "VEINTIÚN DÓLARES 00/100 USD");
  EXPECT_EQ(AmountInWords(1.999, {.wording = Wording::kModern}), "DOS PESOS 00/100 M.N.");
  EXPECT_EQ(AmountInWords(1.999), "UN PESO, 99/100 M.N.");
  EXPECT_EQ(AmountInWords(2, {.currency = "USD"}), "DOS DÓLARS, 00/100 USD");
  EXPECT_EQ(AmountInWords(15.5, {.money = false, .upper = false}), "quince con 50");
  EXPECT_EQ(AmountInWords(15.5, {.money = false, .upper = false, .wording = Wording::kModern}),
            "quince con 50/100");
  EXPECT_EQ(AmountInWords(1234.5, {.parentheses = true, .show_figure = true, .wording = kModern}),
            "$ 1,234.50, ( MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N. )");
  EXPECT_EQ(AmountInWordsUtf16(0, {.wording = Wording::kModern}), u"CERO PESOS 00/100 M.N.");
}

// Long texts of the caller outgrow the room kept for a usual result; broken UTF-8 is U+FFFD.
TEST(AmountInWords, LongAndBrokenTexts) {
  std::string long_text;
  for (int i = 0; i < 2000; ++i) long_text += "\xC3\xB1";  // ñ
  std::string upper_long;
  for (int i = 0; i < 2000; ++i) upper_long += "\xC3\x91";  // Ñ
  for (const Wording w : {Wording::kLegacy, kModern}) {
    const std::string text = AmountInWords(
        2, {.show_figure = true, .symbol = long_text, .national = long_text, .wording = w});
    const char* middle = w == kModern ? " 2.00  DOS PESOS 00/100 " : " 2.00  DOS PESOS, 00/100 ";
    std::string expected = upper_long;
    expected.append(middle).append(upper_long);
    EXPECT_EQ(text, expected);
  }
  EXPECT_EQ(AmountInWords(2, {.upper = false, .national = "\xFFx", .wording = kModern}),
            "dos pesos 00/100 \xEF\xBF\xBDx");
}

TEST(AmountInWords, FiguresFollowTheLocale) {
  LocaleData es_es = kEs;
  es_es.group_mark = u'.';
  es_es.decimal_mark = u',';
  for (const Wording w : {Wording::kLegacy, kModern}) {
    EXPECT_TRUE(AmountInWords(1234567.5, {.show_figure = true, .wording = w, .locale = &es_es})
                    .starts_with("$ 1.234.567,50  "));
  }
}

TEST(AmountInWords, Failures) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double amount;
    AmountOptions options;
    int error;
  } cases[] = {
      {-0.01, {.wording = kModern}, err::kInvalidCall},
      {-0.0001, {.wording = kModern}, err::kInvalidCall},  // below zero, though not a cent
      {-1e14, {.money = false, .wording = kModern}, err::kInvalidCall},
      {-1, {}, err::kTypeMismatch},
      {1e12, {}, err::kOverflow},
      {2, {.currency = "GBP"}, err::kInvalidCall},
      {2, {.currency = "", .wording = kModern}, err::kInvalidCall},
      {2, {.currency = "Peso"}, err::kInvalidCall},
      {2, {.currency = "MXN "}, err::kInvalidCall},
      {2, {.wording = static_cast<Wording>(7)}, err::kInvalidCall},
      {nan, {.wording = kModern}, err::kOverflow},
      {1e15, {.wording = kModern}, err::kOverflow},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { AmountInWords(c.amount, c.options); }), c.error) << c.amount;
    EXPECT_EQ(ErrorOf([&] { AmountInWordsUtf16(c.amount, c.options); }), c.error) << c.amount;
  }
}

// Messages read in the language of the call's locale.
TEST(AmountInWords, ErrorsSpeakTheLocaleLanguage) {
  const LocaleData en = EnglishUnitedStates();
  struct Case {
    const LocaleData* locale;
    Wording wording;
    const char* what;
  } cases[] = {
      {nullptr, kModern, "Error 5: Llamada a procedimiento o argumento no válidos"},
      {&kEs, Wording::kLegacy, "Error 13: No coinciden los tipos"},
      {&en, kModern, "Error 5: Invalid procedure call or argument"},
      {&en, Wording::kLegacy, "Error 13: Type mismatch"},
  };
  for (const auto& c : cases) {
    try {
      AmountInWords(-1, {.wording = c.wording, .locale = c.locale});
      ADD_FAILURE() << "no error for a negative amount";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.what);
    }
  }
}

}  // namespace
}  // namespace velmora
