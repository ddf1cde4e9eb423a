#include <gtest/gtest.h>

#include <cstdlib>

#include "linux/icu_locale.h"

namespace velmora::linux_platform {
namespace {

TEST(IcuLocale, SpanishMexicoNamesAndForms) {
  const LocaleData d = IcuLocaleData("es_MX");
  EXPECT_TRUE(d.spanish);
  EXPECT_EQ(d.day_names[0], u"domingo");
  EXPECT_EQ(d.month_names[2], u"marzo");
  EXPECT_EQ(d.am, u"a.\u00A0m.");
  EXPECT_EQ(d.pm, u"p.\u00A0m.");
  EXPECT_EQ(d.date_order, DateOrder::kDayMonthYear);
  EXPECT_EQ(d.decimal_mark, u'.');
  EXPECT_EQ(d.group_mark, u',');
  EXPECT_EQ(d.long_date_pattern, u"EEEE, d 'de' MMMM 'de' y");
}

TEST(IcuLocale, EnglishAndGermanMarksAndOrder) {
  const LocaleData en = IcuLocaleData("en_US");
  EXPECT_FALSE(en.spanish);
  EXPECT_EQ(en.date_order, DateOrder::kMonthDayYear);
  EXPECT_EQ(en.am, u"AM");
  const LocaleData de = IcuLocaleData("de_DE");
  EXPECT_EQ(de.decimal_mark, u',');
  EXPECT_EQ(de.group_mark, u'.');
  EXPECT_EQ(de.date_separator, u'.');
}

TEST(IcuLocale, EnvironmentDefaultsToSpanishMexico) {
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(EnvironmentLocaleName(), "es_MX");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(EnvironmentLocaleName(), "en_US");
  unsetenv("LC_ALL");
}

}  // namespace
}  // namespace velmora::linux_platform
