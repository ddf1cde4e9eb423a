// Date layouts, names, headings, greetings, masked-box dates and the date reader.
#include "velmora/date_words.h"
#include "../test_util.h"
#include "velmora/date_layout.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

const LocaleData kEs = SpanishMexico();
const LocaleData kEn = EnglishUnitedStates();

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return MakeDate({y, m, d}, {hh, mm, ss});
}

TEST(DateLayout, EveryLayoutInBothLocales) {
  const Date evening = D(2009, 3, 15, 17, 30, 5);
  const Date morning = D(2009, 5, 6, 0, 4, 9);
  const struct {
    Date value;
    const char16_t* layout;
    const char16_t* es;
    const char16_t* en;
  } cases[] = {
      {evening, u"dddddd", u"domingo, 15 de marzo de 2009", u"Sunday, March 15, 2009"},
      {evening, u"ddd, dd-mmm-yyyy", u"dom, 15-mar-2009", u"Sun, 15-Mar-2009"},
      {evening, u"dddd dd-mmm-yyyy", u"domingo 15-mar-2009", u"Sunday 15-Mar-2009"},
      {evening, u"hh:mm:ss AmPm.", u"05:30:05 p.\u00A0m..", u"05:30:05 PM."},
      {morning, u"hh:mm:ss AmPm.", u"12:04:09 a.\u00A0m..", u"12:04:09 AM."},
      {D(2009, 3, 15, 12), u"hh:mm:ss AmPm.", u"12:00:00 p.\u00A0m..", u"12:00:00 PM."},
      {evening, u"dd/mm/yyyy", u"15/03/2009", u"15/03/2009"},
      {evening, u"DD/MM/YYYY", u"15/03/2009", u"15/03/2009"},
      {evening, u"hh:mm:ss", u"17:30:05", u"17:30:05"},
      {evening, u"HH:MM:SS", u"17:30:05", u"17:30:05"},
      {morning, u"hh:mm:ss", u"00:04:09", u"00:04:09"},
      {evening, u"yyyy", u"2009", u"2009"},
      {evening, u"yy", u"09", u"09"},
      {evening, u"mm", u"03", u"03"},
      {evening, u"dd", u"15", u"15"},
      {morning, u"d/m/yy h:n:s", u"6/5/09 0:4:9", u"6/5/09 0:4:9"},
      {morning, u"ddddd", u"06/05/2009", u"05/06/2009"},
      {morning, u"mmmm q w y", u"mayo 2 4 126", u"May 2 4 126"},
      {evening, u"h AM/PM a/p", u"5 PM p", u"5 PM p"},
      {evening, u"\\d\"dd mm\" dd", u"ddd mm 15", u"ddd mm 15"},
      {D(100, 1, 1), u"dddddd", u"viernes, 1 de enero de 100", u"Friday, January 1, 100"},
      {D(9999, 12, 31, 23, 59, 59), u"dd/mm/yyyy hh:mm:ss", u"31/12/9999 23:59:59",
       u"31/12/9999 23:59:59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(FormatDateLayout(c.value, c.layout, kEs)), U8(c.es)) << U8(c.layout);
    EXPECT_EQ(U8(FormatDateLayout(c.value, c.layout, kEn)), U8(c.en)) << U8(c.layout);
  }
  EXPECT_EQ(ErrorOf([] { FormatDateLayout(Date{kMaxDateSerial + 1}, u"dd", kEs); }),
            err::kOverflow);
}

TEST(DateLayout, LongDatePatternSubset) {
  const struct {
    const char16_t* pattern;
    const char16_t* text;
  } cases[] = {
      {u"EEEE, d 'de' MMMM 'de' y", u"domingo, 5 de abril de 2009"},
      {u"EEE dd/MM/yy", u"dom 05/04/09"},
      {u"EEEEE LLLL LLL yyyy", u"d abril abr 2009"},
      {u"d 'o''clock' ''x''", u"5 o'clock ''"},
      {u"G y", u" 2009"},
      {u"'unclosed", u"unclosed"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(FormatDatePattern({2009, 4, 5}, c.pattern, kEs)), U8(c.text)) << U8(c.pattern);
  }
}

TEST(DateReader, FollowsTheLocaleRules) {
  const struct {
    const char16_t* text;
    const LocaleData* loc;
    Date value;
  } good[] = {
      {u"15/03/2009", &kEs, D(2009, 3, 15)},
      {u"15-03-2009", &kEs, D(2009, 3, 15)},
      {u"15.3.9", &kEs, D(2009, 3, 15)},
      {u"03/15/2009", &kEn, D(2009, 3, 15)},
      {u"2009-03-15", &kEs, D(2009, 3, 15)},
      {u"2009-03-15T17:30:00", &kEn, D(2009, 3, 15, 17, 30)},
      {u"1/2/29", &kEs, D(2029, 2, 1)},
      {u"1/2/30", &kEs, D(1930, 2, 1)},
      {u"1/2/0", &kEs, D(2000, 2, 1)},
      {u"  15/03/2009 17:30  ", &kEs, D(2009, 3, 15, 17, 30)},
      {u"15/03/2009 05:30:10 p. m.", &kEs, D(2009, 3, 15, 17, 30, 10)},
      {u"15/03/2009 5:30 pm", &kEs, D(2009, 3, 15, 17, 30)},
      {u"12:15 a.m.", &kEn, D(1899, 12, 30, 0, 15)},
      {u"23:59:59", &kEs, D(1899, 12, 30, 23, 59, 59)},
      {u"29/02/2000", &kEs, D(2000, 2, 29)},
      {u"31/12/9999", &kEs, D(9999, 12, 31)},
      {u"01/01/0100", &kEs, D(100, 1, 1)},
  };
  for (const auto& c : good) EXPECT_EQ(ParseDate(c.text, *c.loc), c.value) << U8(c.text);
  const char16_t* bad[] = {u"",
                           u"  /  /    ",
                           u"abc",
                           u"15/03",
                           u"15/03/209",
                           u"15/03-2009",
                           u"31/02/2009",
                           u"29/02/1900",
                           u"15/13/2009",
                           u"0/03/2009",
                           u"2009/03/15",
                           u"2009.03.15",
                           u"01/01/0099",
                           u"15/03/2009 25:00",
                           u"15/03/2009 17:3",
                           u"13:00 pm",
                           u"17:30 xm",
                           u"15/03/2009T",
                           u"15/03/2009 x",
                           u"1500/03/2009",
                           u"15/03/20091",
                           u"-1/03/2009",
                           u"15//2009"};
  for (const char16_t* text : bad) EXPECT_FALSE(ParseDate(text, kEs).has_value()) << U8(text);
  EXPECT_FALSE(ParseDate(u"15/03/2009", kEn).has_value());
  EXPECT_FALSE(ParseDate(std::u16string(100'000, u'1'), kEs).has_value());
  EXPECT_FALSE(ParseDate(u"1/1/2009 10:00 " + std::u16string(100'000, u'p'), kEs).has_value());
  // What the library writes reads back.
  EXPECT_EQ(FormatDateText(D(2026, 12, 5), kEs), u"05/12/2026");
  EXPECT_EQ(FormatDateText(D(2026, 12, 5), kEn), u"12/05/2026");
  for (const Date v : {D(2026, 12, 5), D(100, 1, 1, 1, 2, 3), D(1899, 12, 30, 17, 30)}) {
    EXPECT_EQ(ParseDate(FormatDateText(v, kEs), kEs), v);
    EXPECT_EQ(ParseDate(FormatDateText(v, kEn), kEn), v);
  }
}

class DateWordsTest : public ::testing::Test {
 protected:
  static Dolva At(Date now, const LocaleData& loc = kEs) { return Dolva(FixedServices(now, loc)); }
  Dolva d_ = At(D(2026, 12, 5, 17, 30, 0));
};

TEST_F(DateWordsTest, DayAndMonthNames) {
  const struct {
    Date date;
    bool spanish, long_form;
    const char16_t* day;
    const char16_t* month;
  } cases[] = {
      {D(2009, 3, 15), true, true, u"Domingo", u"Marzo"},
      {D(2009, 3, 15), true, false, u"Dom.", u"Mar."},
      {D(2009, 3, 15), false, true, u"Sunday", u"March"},
      {D(2009, 3, 15), false, false, u"Sun.", u"Mar."},
      {D(2009, 3, 18), true, false, u"Mié.", u"Mar."},
      {D(2009, 5, 16), true, false, u"Sáb.", u"May."},
      {D(2009, 5, 16), false, false, u"Sat.", u"May."},
      {D(2009, 9, 16), true, true, u"Miércoles", u"Septiembre"},
      {D(2009, 9, 16), true, false, u"Mié.", u"Sep."},
      {D(1899, 12, 29, 18), false, true, u"Friday", u"December"},
  };
  for (auto c : cases) {
    EXPECT_EQ(U8(d_.sDias(c.date, c.spanish, c.long_form)), U8(c.day));
    EXPECT_EQ(U8(d_.Meses(c.date, c.spanish, c.long_form)), U8(c.month));
  }
  bool yes = true;
  EXPECT_EQ(ErrorOf([&] { d_.sDias(Date{-1e9}, yes, yes); }), err::kOverflow);
}

TEST_F(DateWordsTest, FechadorHeadings) {
  const Variant missing = Variant::Missing();
  const Variant march15 = D(2009, 3, 15, 9);
  const struct {
    Variant date, lang, place, long_form, time;
    const char16_t* text;
  } cases[] = {
      {march15, missing, missing, missing, missing, u"México, D.F. a domingo, 15 de marzo de 2009"},
      {march15, u"E", u"  Guadalajara ", false, missing, u"Guadalajara a dom, 15-mar-2009"},
      {march15, u"Inglés", u"Guadalajara", false, false, u"Guadalajara, Sun., Mar. 15, 2009"},
      {march15, u"I", u"", true, missing, u"Sunday, March 15, 2009"},
      {march15, u"e", u"", true, missing, u"Sunday, March 15, 2009"},
      {march15, u"", u"", u"0", missing, u"Sun., Mar. 15, 2009"},
      {u"15/03/2009", u"Español", u"", missing, missing, u"domingo, 15 de marzo de 2009"},
      // No date, or the empty mask, is today; the time shown is always the clock's.
      {missing, missing, u"León", false, true, u"León a sáb, 05-dic-2026 @ 05:30:00 p.\u00A0m.."},
      {u"  /  /    ", u"I", u"León", true, true,
       u"León, Saturday, December 05, 2026 @ 05:30:00 p.\u00A0m.."},
      {march15, u"E", u"", true, u"True", u"domingo, 15 de marzo de 2009 @ 05:30:00 p.\u00A0m.."},
  };
  for (auto c : cases) {
    EXPECT_EQ(U8(d_.Fechador(c.date, c.lang, c.place, c.long_form, c.time)), U8(c.text));
  }
  Variant not_a_date = u"15/15/2009", lang = u"E", place = missing, flag = missing;
  EXPECT_EQ(ErrorOf([&] { d_.Fechador(not_a_date, lang, place, flag, flag); }), err::kTypeMismatch);
  // Called by name, the defaults of the table apply.
  std::vector<Argument> args(1);
  args[0].value = march15;
  EXPECT_EQ(Invoke(d_, u"Fechador", args), Variant(u"México, D.F. a domingo, 15 de marzo de 2009"));
}

TEST_F(DateWordsTest, SaludosWindowsInBothLocales) {
  LocaleData dotted = kEn;
  dotted.am = u"a.m.";
  dotted.pm = u"p.m.";
  const struct {
    CivilTime time;
    const LocaleData* loc;
    const char16_t* greeting;
  } cases[] = {
      {{0, 30, 0}, &kEs, u"Buenas Noches"}, {{4, 59, 59}, &kEs, u"Buenas Noches"},
      {{5, 0, 0}, &kEs, u"Buenos Días"},    {{11, 59, 59}, &kEs, u"Buenos Días"},
      {{12, 0, 0}, &kEs, u"Buenas Tardes"}, {{18, 59, 59}, &kEs, u"Buenas Tardes"},
      {{19, 0, 0}, &kEs, u"Buenas Noches"}, {{23, 59, 59}, &kEs, u"Buenas Noches"},
      {{0, 30, 0}, &kEn, u"Buenas Noches"}, {{5, 0, 0}, &kEn, u"Buenos Días"},
      {{12, 0, 0}, &kEn, u"Buenas Tardes"}, {{18, 59, 59}, &kEn, u"Buenas Tardes"},
      {{19, 0, 0}, &kEn, u"Buenas Noches"}, {{13, 0, 0}, &dotted, u"Buenas Tardes"},
      {{9, 0, 0}, &dotted, u"Buenos Días"}, {{20, 0, 0}, &dotted, u"Buenas Noches"},
  };
  bool no = false;
  for (const auto& c : cases) {
    Dolva d = At(MakeDate({2009, 3, 15}, c.time), *c.loc);
    EXPECT_EQ(U8(d.Saludos(no, no)), U8(std::u16string(c.greeting) + u".")) << c.time.hour;
  }
}

TEST_F(DateWordsTest, SaludosWithDateAndTime) {
  LocaleData dotted = kEn;
  dotted.am = u"a.m.";
  dotted.pm = u"p.m.";
  LocaleData bare = kEn;  // a locale without designators: every hour counts as before noon
  bare.am = bare.pm = u"";
  const Date at = D(2009, 3, 15, 17, 30);
  const struct {
    const LocaleData* loc;
    bool date, time;
    const char16_t* text;
  } cases[] = {
      {&kEn, true, true, u"Buenas Tardes, Sunday 15-Mar-2009 @ 05:30 PM."},
      {&kEn, false, true, u"Buenas Tardes, 05:30 PM."},
      {&kEn, true, false, u"Buenas Tardes, Sunday 15-Mar-2009."},
      {&kEn, false, false, u"Buenas Tardes."},
      {&kEs, true, true, u"Buenas Tardes, domingo 15-mar-2009 @ 05:30 p.."},
      {&kEs, false, true, u"Buenas Tardes, 05:30 p.."},
      {&dotted, false, true, u"Buenas Tardes, 05:30 p.."},
      {&bare, false, true, u"Buenos Días, 05:30 .."},
  };
  for (auto c : cases) {
    Dolva d = At(at, *c.loc);
    EXPECT_EQ(U8(d.Saludos(c.date, c.time)), U8(c.text));
  }
}

TEST_F(DateWordsTest, FechaTxtBoxHalvesOfTheMonth) {
  const struct {
    const char16_t* typed;
    bool first;
    const char16_t* text;
  } cases[] = {
      {u"20/03/2009", true, u"15/03/2009"},        {u"20/03/2009", false, u"31/03/2009"},
      {u"10/02/2009", true, u"01/02/2009"},        {u"10/02/2009", false, u"15/02/2009"},
      {u"20/02/2008", false, u"29/02/2008"},       {u"15/04/2009", false, u"15/04/2009"},
      {u"16/04/2009", false, u"30/04/2009"},       {u"16/04/2009", true, u"15/04/2009"},
      {u"20/02/1900", false, u"01/03/1900"},  // DiasMes counts a 29th in 1900
      {u"2009-12-24 10:00", false, u"31/12/2009"}, {u"31/12/9999", false, u"31/12/9999"},
  };
  for (auto c : cases) {
    std::u16string typed = c.typed;
    EXPECT_EQ(U8(d_.FechaTxtBox(c.first, typed)), U8(c.text)) << U8(c.typed);
    EXPECT_EQ(typed, c.typed);
  }
  // Nothing typed, the empty mask or no date: today, written back as a short date.
  for (const std::u16string& typed :
       {std::u16string(), std::u16string(kEmptyDateMask), std::u16string(u"31/02/2009"),
        std::u16string(u"hoy"), std::u16string(100'000, u'1')}) {
    std::u16string text = typed;
    bool first = false;
    EXPECT_EQ(d_.FechaTxtBox(first, text), u"15/12/2026");
    EXPECT_EQ(text, u"05/12/2026");
  }
  Dolva en = At(D(2026, 12, 5), kEn);
  std::u16string text;
  bool first = true;
  EXPECT_EQ(en.FechaTxtBox(first, text), u"01/12/2026");
  EXPECT_EQ(text, u"12/05/2026");
  std::u16string us = u"03/20/2009";
  EXPECT_EQ(en.FechaTxtBox(first, us), u"15/03/2009");

  std::vector<Argument> args(1);
  args[0].value = true;
  EXPECT_EQ(Invoke(d_, u"FechaTxtBox", args), Variant(u"01/12/2026"));
}

}  // namespace
}  // namespace velmora
