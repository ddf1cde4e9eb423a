// Leap years, day numbers, ages and elapsed periods.
#include <chrono>

#include "../test_util.h"
#include "velmora/calendar.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return MakeDate({y, m, d}, {hh, mm, ss});
}
Currency C(std::int64_t whole) { return Currency::FromWhole(whole); }

class CalendarTest : public ::testing::Test {
 protected:
  std::shared_ptr<Services> services_ = FixedServices(D(2026, 12, 5, 10, 0, 0));
  Dolva d_{services_};

  bool Bisiesto(Variant v) { return d_.Bisiesto(v); }
  std::int16_t DiasMes(std::int16_t m, std::int16_t y) { return d_.DiasMes(m, y); }
  std::int64_t DiasFechas(Date a, Date b) { return d_.DiasFechas(a, b).Floor(); }
  std::u16string Edad(Date a, Date b, std::u16string mode = u"L", bool drop = true,
                      bool show = false) {
    return d_.Edad(a, b, mode, drop, show);
  }
  std::u16string FechaTrans(Variant born, Variant on = Variant::Missing()) {
    return d_.FechaTrans(born, on);
  }
  std::u16string Lapso(Variant a, Variant b) { return d_.Lapso(a, b); }
};

TEST_F(CalendarTest, BisiestoDivisibleByFourOnly) {
  const struct {
    Variant year;
    bool leap;
  } cases[] = {
      {std::int16_t{2024}, true}, {std::int16_t{2023}, false}, {std::int16_t{1900}, true},
      {std::int16_t{2100}, true}, {Variant(u"2000"), true},    {Variant(u" 2001 "), false},
      {Variant(2002.5), false},   {Variant(2003.5), true},     {Variant(), true},
      {Variant::Null(), false},   {Variant(true), false},      {std::int16_t{-4}, true},
      {std::int16_t{-1}, false},  {Variant::Missing(), false},  // the clock's 2026
  };
  for (const auto& c : cases)
    EXPECT_EQ(Bisiesto(c.year), c.leap) << ::testing::PrintToString(c.year);

  Dolva leap_year(FixedServices(D(2028, 2, 1)));
  Variant missing = Variant::Missing();
  EXPECT_TRUE(leap_year.Bisiesto(missing));
  EXPECT_EQ(ErrorOf([&] { Bisiesto(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { Bisiesto(Variant(u"")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { Bisiesto(Variant(1e12)); }), err::kOverflow);
}

TEST_F(CalendarTest, DiasMes) {
  const std::int16_t lengths[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 0};
  for (std::int16_t m = 0; m <= 13; ++m) EXPECT_EQ(DiasMes(m, 2009), lengths[m]) << m;
  EXPECT_EQ(DiasMes(2, 1900), 29);
  EXPECT_EQ(DiasMes(2, 2024), 29);
  EXPECT_EQ(DiasMes(-32768, 2009), 0);
}

TEST_F(CalendarTest, CalcFDiasExamplesAndErrors) {
  const struct {
    std::int64_t d, m, y, number;
  } cases[] = {{1, 1, 2000, 730488},   {31, 12, 1999, 730487}, {15, 3, 2009, 733849},
               {30, 12, 1899, 693962}, {1, 1, 1, 369},         {29, 2, 2000, 730547},
               {1, 3, 1900, 694023},   {28, 2, 1900, 694022}};
  for (const auto& c : cases) {
    Currency d = C(c.d), m = C(c.m), y = C(c.y);
    EXPECT_EQ(d_.CalcFDias(d, m, y), C(c.number)) << c.d << "/" << c.m << "/" << c.y;
  }
  // The month is rounded halves to even to pick its entry; 12.5 is December, 0.5 is none.
  Currency day = C(1), half_up = Currency::FromScaled(125'000), y2009 = C(2009);
  Currency dec = C(12);
  EXPECT_EQ(d_.CalcFDias(day, half_up, y2009), d_.CalcFDias(day, dec, y2009));
  // Fractions of the day are kept in the result.
  Currency day_half = Currency::FromScaled(15'5000), march = C(3);
  EXPECT_EQ(d_.CalcFDias(day_half, march, y2009), Currency::FromScaled(7'338'495'000));

  const struct {
    Currency d, m, y;
    int error;
  } bad[] = {{C(1), C(13), C(2009), err::kSubscript},
             {C(1), C(0), C(2009), err::kSubscript},
             {C(1), Currency::FromScaled(5'000), C(2009), err::kSubscript},
             {C(1), C(1), C(3'000'000'000), err::kOverflow},
             {Currency::FromScaled(INT64_MAX), C(12), C(2009), err::kOverflow},
             {Currency::FromScaled(INT64_MIN), C(1), C(-2009), err::kOverflow},
             {C(1), C(1), Currency::FromScaled(INT64_MIN), err::kOverflow},
             {C(1), Currency::FromScaled(INT64_MIN), C(2009), err::kSubscript}};
  for (auto c : bad) EXPECT_EQ(ErrorOf([&] { d_.CalcFDias(c.d, c.m, c.y); }), c.error);
}

TEST_F(CalendarTest, CalcFDiasAgreesWithChronoOverYears1To9999AndBefore) {
  using namespace std::chrono;
  const std::int64_t offset = 719'162 + 369;  // 1 January of year 1 is day 369
  // Years before 1 take the general road of the routine; 1 to 9999 mostly the short one.
  for (int y = -800; y <= 9999; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      const unsigned last = static_cast<unsigned>((year{y} / month{m} / std::chrono::last).day());
      for (unsigned d = 1; d <= last; ++d) {
        const auto expected = sys_days(year{y} / month{m} / day{d}).time_since_epoch().count();
        Currency cd = C(d), cm = C(m), cy = C(y);
        ASSERT_EQ(d_.CalcFDias(cd, cm, cy).scaled(), (expected + offset) * 10'000)
            << d << "/" << m << "/" << y;
      }
    }
  }
}

TEST_F(CalendarTest, CalcFDiasStaysConsecutiveAcrossItsRoads) {
  // Around year 0 and year 400 000 the routine changes between its two ways of counting.
  auto number = [&](std::int64_t d, std::int64_t m, std::int64_t y) {
    Currency cd = C(d), cm = C(m), cy = C(y);
    return d_.CalcFDias(cd, cm, cy).Floor();
  };
  for (std::int64_t y : {-1, 0, 1, 399'999, 400'000, 400'001, 2'000'000'000}) {
    EXPECT_EQ(number(1, 1, y + 1) - number(31, 12, y), 1) << y;
    EXPECT_EQ(number(1, 3, y) - number(28, 2, y), IsGregorianLeapYear(y) ? 2 : 1) << y;
  }
  // A whole year written with a fraction of zero, or a month a hair off, is the same date.
  Currency d = C(15), m = Currency::FromScaled(30'001), y = Currency::FromScaled(20'090'000);
  EXPECT_EQ(d_.CalcFDias(d, m, y), C(733849));
}

TEST_F(CalendarTest, DiasFechasAgreesWithChronoOverTheDateRange) {
  using namespace std::chrono;
  const sys_days origin = year{2009} / 3 / 15;
  const Date origin_date = D(2009, 3, 15, 23, 59, 59);
  for (sys_days day = year{100} / 1 / 1; day <= year{9999} / 12 / 31; day += days{1}) {
    const year_month_day ymd(day);
    // A time of day that changes with the date: only the calendar dates count.
    const auto secs = static_cast<int>(day.time_since_epoch().count() % 86'400 + 86'400) % 86'400;
    const Date value =
        D(static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
          static_cast<int>(unsigned(ymd.day())), secs / 3600, secs / 60 % 60, secs % 60);
    ASSERT_EQ(DiasFechas(origin_date, value), (day - origin).count())
        << U8(FormatDateText(value, SpanishMexico()));
  }
}

TEST_F(CalendarTest, DiasFechasExamples) {
  EXPECT_EQ(DiasFechas(D(1900, 2, 28), D(1900, 3, 1)), 1);
  EXPECT_EQ(DiasFechas(D(2024, 2, 28), D(2024, 3, 1)), 2);
  EXPECT_EQ(DiasFechas(D(2024, 1, 1), D(2024, 12, 31)), 365);
  EXPECT_EQ(DiasFechas(D(2009, 12, 31), D(2009, 1, 1)), -364);
  EXPECT_EQ(DiasFechas(D(2009, 3, 15, 1), D(2009, 3, 15, 23)), 0);
  EXPECT_EQ(DiasFechas(D(1899, 12, 29, 6), D(1899, 12, 29, 18)), 0);
  EXPECT_EQ(ErrorOf([&] { DiasFechas(Date{1e10}, D(2009, 1, 1)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([&] { DiasFechas(D(2009, 1, 1), Date{kMaxDateSerial + 1}); }), err::kOverflow);
}

TEST_F(CalendarTest, EdadTexts) {
  const struct {
    Date from, to;
    const char16_t* mode;
    bool drop_zeros, show_days;
    const char16_t* text;
  } cases[] = {
      {D(1975, 8, 20), D(2009, 3, 15), u"L", true, false, u"33 Años, 06 Meses, 27 Días."},
      {D(1975, 8, 20), D(2009, 3, 15), u"C", true, false, u"33 a, 06 m, 27 d."},
      {D(1975, 8, 20), D(2009, 3, 15), u"N", true, false, u"33, 06, 27."},
      {D(1975, 8, 20), D(2009, 3, 15), u"L", true, true, u"33 Años, 06 Meses, 27 Días. (12,261)"},
      {D(2000, 5, 10), D(2009, 5, 10), u"L", true, false, u"9 Años."},
      {D(2000, 5, 10), D(2009, 5, 10), u"L", false, true, u"9 Años, 00 Meses, 00 Días. (3,287)"},
      {D(2008, 3, 15), D(2009, 3, 20), u"L", true, false, u"1 Año, 05 Días."},
      {D(2008, 1, 15), D(2008, 12, 15), u"L", true, false, u"11 Meses."},
      {D(2009, 3, 1), D(2009, 4, 15), u"L", true, false, u"01 Mes, 14 Días."},
      {D(1980, 2, 29), D(2009, 3, 1), u"L", true, false, u"28 Años, 11 Meses, 32 Días."},
      {D(2009, 1, 1), D(2009, 1, 1), u"L", true, false, u"."},
      {D(2009, 1, 1), D(2009, 1, 1), u"L", false, false, u"0 Años, 00 Meses, 00 Días."},
      {D(2009, 1, 1), D(2009, 1, 2), u"L", true, false, u"-1 Años11 Meses, 01 Día."},
      {D(2009, 1, 1), D(2009, 1, 1), u"N", false, false, u"0, 00, 00."},
      {D(2009, 1, 2, 23), D(2009, 1, 1, 1), u"C", true, true, u"-1 a11 m, -1 d. (-1)"},
      {D(100, 1, 1), D(2000, 1, 1), u"L", true, true, u"1900 Años. (693,960)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(U8(Edad(c.from, c.to, c.mode, c.drop_zeros, c.show_days)), U8(c.text));
}

TEST_F(CalendarTest, EdadWritesTheModeBack) {
  const struct {
    const char16_t* given;
    const char16_t* stored;
  } cases[] = {{u"c", u"C"}, {u"n", u"N"}, {u"L", u"L"}, {u"X", u"L"}, {u"", u"L"}, {u"cc", u"L"}};
  for (const auto& c : cases) {
    Date a = D(1975, 8, 20), b = D(2009, 3, 15);
    std::u16string mode = c.given;
    bool drop = true, show = false;
    d_.Edad(a, b, mode, drop, show);
    EXPECT_EQ(U8(mode), U8(c.stored));
  }
  // Through the table: the mode variable comes back normalised.
  std::vector<Argument> args(3);
  args[0].value = D(1975, 8, 20);
  args[1].value = D(2009, 3, 15);
  args[2].value = Variant(u"c");
  EXPECT_EQ(Invoke(d_, u"Edad", args), Variant(u"33 a, 06 m, 27 d."));
  EXPECT_TRUE(args[2].written);
  EXPECT_EQ(args[2].value, Variant(u"C"));
  // A span whose day count is no date overflows.
  EXPECT_EQ(ErrorOf([&] { Edad(D(100, 1, 1), D(9999, 12, 31)); }), err::kOverflow);
}

TEST_F(CalendarTest, FechaTransTexts) {
  const struct {
    Variant born, on;
    const char16_t* text;
  } cases[] = {
      {D(1975, 8, 20), D(2009, 3, 15), u"33 Años, 6 Meses, 26 Dias."},
      {D(2000, 5, 10), D(2009, 5, 10), u"8 Años, 11 Meses, 30 Dias."},
      {D(2008, 3, 15), D(2009, 3, 20), u"1 Año, 4 Dias."},
      {D(2009, 3, 1), D(2009, 4, 15), u"1 Mes, 14 Dias."},
      {D(2009, 1, 1), D(2009, 1, 2), u"1 Dia."},
      {D(2009, 1, 1), D(2009, 1, 1), u""},
      {Variant(u"20/08/1975"), Variant(u"15/03/2009 10:00"), u"33 Años, 6 Meses, 26 Dias."},
      // A reference before the birth, or none, is today (5 December 2026).
      {D(2025, 12, 5), D(2000, 1, 1), u"11 Meses, 30 Dias."},
      {D(2026, 11, 4), Variant::Missing(), u"1 Mes."},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(FechaTrans(c.born, c.on)), U8(c.text));
  EXPECT_EQ(ErrorOf([&] { FechaTrans(Variant(u"ayer")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { FechaTrans(Variant::Null()); }), err::kInvalidNull);
  EXPECT_EQ(ErrorOf([&] { FechaTrans(D(100, 1, 1), D(9999, 12, 31)); }), err::kOverflow);
}

TEST_F(CalendarTest, LapsoTexts) {
  const struct {
    Date from, to;
    const char16_t* text;
  } cases[] = {
      {D(2009, 3, 15, 8), D(2009, 3, 15, 17, 30), u"09:30:00 Hrs."},
      {D(2009, 3, 15, 8), D(2009, 3, 15, 8), u"00:00:00 Hrs."},
      {D(2009, 1, 1, 8), D(2009, 3, 15, 17, 30), u"2 Meses, 14 Días y 09:30:00 Hrs."},
      {D(2000, 5, 10, 8), D(2009, 5, 10, 9), u"9 Años,  y 01:00:00 Hrs."},
      {D(2000, 5, 10, 8), D(2009, 6, 12, 9), u"9 Años, 1 Mes, 2 Días y 01:00:00 Hrs."},
      {D(2000, 5, 10, 8), D(2002, 5, 11, 9), u"2 Años, 1 Día y 01:00:00 Hrs."},
      {D(2009, 1, 1, 8), D(2009, 1, 2, 10), u"1 Día y 02:00:00 Hrs."},
      {D(2009, 1, 31, 8), D(2009, 2, 28, 8, 0, 1), u"1 Mes y 00:00:01 Hrs."},
      {D(2009, 1, 31, 8), D(2009, 3, 1, 9), u"1 Mes, 1 Día y 01:00:00 Hrs."},
      // A later date with an earlier time borrows a day.
      {D(2009, 1, 1, 20), D(2009, 1, 3, 10), u"1 Día y 14:00:00 Hrs."},
      {D(2009, 1, 1, 20), D(2009, 1, 2, 10), u"14:00:00 Hrs."},
      {D(2009, 1, 1, 8), D(2009, 1, 2, 7), u"23:00:00 Hrs."},
      // Reversed: the difference of the times of day only.
      {D(2009, 3, 15, 17, 30), D(2009, 3, 14, 8), u"-10:-30:00 Hrs."},
      // Before 30 December 1899 the spans are the real ones too.
      {D(1899, 12, 28, 6), D(1899, 12, 29, 18), u"1 Día y 12:00:00 Hrs."},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(Lapso(c.from, c.to)), U8(c.text));
  EXPECT_EQ(U8(Lapso(Variant(u"01/01/2009 08:00"), Variant(u"15/03/2009 05:30 p. m."))),
            "2 Meses, 14 Días y 09:30:00 Hrs.");
  EXPECT_EQ(ErrorOf([&] { Lapso(Variant(u"mañana"), D(2009, 1, 1)); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { Lapso(D(2009, 1, 1), Variant::Null()); }), err::kInvalidNull);
  EXPECT_EQ(ErrorOf([&] { Lapso(Variant(1e9), D(2009, 1, 1)); }), err::kOverflow);
}

TEST(Calendar, ElapsedBetweenCountsMonthAnniversaries) {
  const struct {
    CivilDate from, to;
    ElapsedPeriod p;
  } cases[] = {
      {{2009, 1, 1}, {2009, 3, 15}, {0, 2, 14}},     {{2009, 1, 31}, {2009, 2, 28}, {0, 1, 0}},
      {{2009, 1, 31}, {2009, 3, 1}, {0, 1, 1}},      {{2008, 2, 29}, {2009, 2, 28}, {1, 0, 0}},
      {{2008, 2, 29}, {2012, 2, 29}, {4, 0, 0}},     {{2009, 12, 15}, {2010, 1, 14}, {0, 0, 30}},
      {{100, 1, 1}, {9999, 12, 31}, {9899, 11, 30}}, {{2009, 3, 15}, {2009, 3, 15}, {0, 0, 0}}};
  for (const auto& c : cases) EXPECT_EQ(ElapsedBetween(c.from, c.to), c.p) << c.from.year;
}

}  // namespace
}  // namespace velmora
