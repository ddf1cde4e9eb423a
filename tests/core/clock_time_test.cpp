// Clock-time arithmetic on fixed-position "hh:mm:ss" texts.
#include <climits>

#include "../test_util.h"
#include "velmora/clock_time.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

class ClockTimeTest : public ::testing::Test {
 protected:
  Dolva d_{FixedServices(MakeDate({2026, 12, 5}, {10, 0, 0}))};

  std::int32_t Hrs2Seg(Variant v) { return d_.Hrs2Seg(v); }
  std::u16string Seg2Hrs(std::int32_t n) { return d_.Seg2Hrs(n); }
  std::u16string Fillhours(std::u16string t) { return d_.Fillhours(t); }
  Currency HrsNumericas(std::u16string t) { return d_.HrsNumericas(t); }
};

TEST(ClockTime, LeadingNumber) {
  const struct {
    const char16_t* text;
    double value;
  } cases[] = {{u"08", 8},  {u"8:", 8},   {u":3", 0},      {u"  12x", 12}, {u"-1.5x", -1.5},
               {u"+7", 7},  {u".5", 0.5}, {u"1.2.3", 1.2}, {u"", 0},       {u"-", 0},
               {u"1e3", 1}, {u"\t4", 4},  {u"&H10", 0},    {u"- 5", 0},    {u"0.", 0}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << U8(c.text);
  EXPECT_EQ(ErrorOf([] { LeadingNumber(std::u16string(400, u'9')); }), err::kOverflow);
  EXPECT_EQ(LeadingNumber(u"0." + std::u16string(400, u'0') + u"1"), 0);
}

TEST_F(ClockTimeTest, Hrs2SegReadsFixedPositions) {
  const struct {
    Variant time;
    std::int32_t seconds;
  } cases[] = {
      {u"08:30:15", 30615},
      {u"23:59:59", 86399},
      {u"", 0},
      {u"   ", 0},
      {Variant(), 0},
      {u"08:30", 30630},  // the minutes are read again as the seconds
      {u"8:30:00", 28800},
      {u" 08:30:15  ", 30615},
      {u"08:30:15 p. m.", 30615},  // cut to its first 8 characters
      {u"99:99:99", 99 * 3600 + 99 * 60 + 99},
      {u"-1:00:00", -3600},
      {MakeDate({2009, 3, 15}, {17, 30, 5}), 63005},  // a date value: its 24-hour time of day
      {MakeDate({1899, 12, 29}, {6, 0, 0}), 21600},
      {std::int32_t{5}, 5 * 3600 + 5},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Hrs2Seg(c.time), c.seconds) << ::testing::PrintToString(c.time);
  // The 24-hour reading holds whatever the locale's clock looks like.
  Dolva en(FixedServices(Date{}, EnglishUnitedStates()));
  Variant evening = MakeDate({2009, 3, 15}, {17, 30, 0});
  EXPECT_EQ(en.Hrs2Seg(evening), 63000);

  EXPECT_EQ(ErrorOf([&] { Hrs2Seg(Variant::Null()); }), err::kInvalidNull);
  EXPECT_EQ(ErrorOf([&] { Hrs2Seg(Variant(ObjectRef{})); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { Hrs2Seg(Date{1e10}); }), err::kOverflow);
  EXPECT_EQ(Hrs2Seg(Variant(std::u16string(100'000, u'7'))), 77 * 3600 + 77 * 60 + 77);
}

TEST_F(ClockTimeTest, Seg2HrsWritesSignedFields) {
  const struct {
    std::int32_t seconds;
    const char16_t* text;
  } cases[] = {{30615, u"08:30:15"},
               {0, u"00:00:00"},
               {90000, u"25:00:00"},
               {-5400, u"-2:-30:00"},
               {-60, u"-1:-1:00"},
               {-1, u"-1:-1:-1"},
               {-3600, u"-1:00:00"},
               {359999, u"99:59:59"},
               {360000, u"100:00:00"},
               {INT32_MAX, u"596523:14:07"},
               {INT32_MIN, u"-596524:-15:-8"}};
  for (const auto& c : cases) EXPECT_EQ(U8(Seg2Hrs(c.seconds)), U8(c.text)) << c.seconds;
}

TEST_F(ClockTimeTest, RoundTripUpTo100Hours) {
  for (std::int32_t n = 0; n <= 359'999; ++n) {
    Variant text(Seg2Hrs(n));
    ASSERT_EQ(Hrs2Seg(text), n) << U8(text.text());
  }
}

TEST_F(ClockTimeTest, FillhoursAndItsWriteBack) {
  const struct {
    const char16_t* typed;
    const char16_t* text;
  } cases[] = {{u"830", u"08:30"},     {u"8:30", u"08:30"}, {u"08:30", u"08:30"},
               {u"1230", u"12:30"},    {u"30", u"00:30"},   {u"12:30", u"12:30"},
               {u"ab", u"00:00"},      {u"-530", u"-5:30"}, {u"1.530", u"1.5:30"},
               {u"123456", u"1234:56"}};
  for (const auto& c : cases) EXPECT_EQ(U8(Fillhours(c.typed)), U8(c.text)) << U8(c.typed);

  std::u16string empty;
  EXPECT_EQ(d_.Fillhours(empty), u"00:00");
  EXPECT_EQ(empty, u"00:00");
  std::u16string typed = u"830";
  d_.Fillhours(typed);
  EXPECT_EQ(typed, u"830");
  EXPECT_EQ(ErrorOf([&] { Fillhours(u"8"); }), err::kInvalidCall);
}

TEST_F(ClockTimeTest, SumsDifferencesAndFullDays) {
  const struct {
    Variant a, b;
    const char16_t* sum;
    const char16_t* difference;
  } cases[] = {
      {u"08:30:00", u"17:45:30", u"26:15:30", u"-10:-16:-30"},
      {u"17:45:30", u"08:30:00", u"26:15:30", u"09:15:30"},
      {u"", u"00:00:01", u"00:00:01", u"-1:-1:-1"},
      {u"99:99:99", u"99:99:99", u"201:21:18", u"00:00:00"},
  };
  for (auto c : cases) {
    EXPECT_EQ(U8(d_.SumaHoras(c.a, c.b)), U8(c.sum));
    EXPECT_EQ(U8(d_.RestaHoras(c.a, c.b)), U8(c.difference));
  }
  Variant null = Variant::Null(), one = u"01:00:00";
  EXPECT_EQ(ErrorOf([&] { d_.SumaHoras(one, null); }), err::kInvalidNull);

  for (auto [n, full] : {std::pair{86399, false},
                         {86400, true},
                         {INT32_MAX, true},
                         {INT32_MIN, false},
                         {-86400, false}}) {
    EXPECT_EQ(d_.MasDeUnDia(n), full) << n;
  }
}

TEST_F(ClockTimeTest, HrsNumericas) {
  const struct {
    const char16_t* text;
    std::int64_t scaled;
  } cases[] = {{u"08:30", 85'000}, {u"08:20", 83'300},
               {u"08:59", 89'800}, {u"8:30", 80'000},
               {u"abc", 0},        {u"", 0},
               {u"25:00", 0},      {u" 10:00 p. m. ", 100'000},
               {u"00:01", 100},    {u"15/03/2009", 150'500}};
  for (const auto& c : cases) {
    EXPECT_EQ(HrsNumericas(c.text), Currency::FromScaled(c.scaled)) << U8(c.text);
  }
  EXPECT_EQ(HrsNumericas(u"08:30" + std::u16string(100'000, u' ')), Currency::FromScaled(85'000));
  EXPECT_EQ(HrsNumericas(std::u16string(100'000, u'8')), Currency{});
}

TEST_F(ClockTimeTest, CalledByNameWithWriteBack) {
  std::vector<Argument> args(1);
  args[0].value = Variant(u"");
  EXPECT_EQ(Invoke(d_, u"Fillhours", args), Variant(u"00:00"));
  EXPECT_TRUE(args[0].written);
  EXPECT_EQ(args[0].value, Variant(u"00:00"));
  std::vector<Argument> secs(1);
  secs[0].value = Variant(u"-5400");
  EXPECT_EQ(Invoke(d_, u"Seg2Hrs", secs), Variant(u"-2:-30:00"));
  secs[0].value = Variant(3e9);
  EXPECT_EQ(ErrorOf([&] { Invoke(d_, u"Seg2Hrs", secs); }), err::kOverflow);
}

}  // namespace
}  // namespace velmora
