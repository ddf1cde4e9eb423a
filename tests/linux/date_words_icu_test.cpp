// The long date form and greetings with the locale data ICU delivers.
#include <gtest/gtest.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>

#include "linux/icu_locale.h"
#include "velmora/date_layout.h"
#include "velmora/dolva.h"
#include "velmora/utf.h"

namespace velmora::linux_platform {
namespace {

std::u16string IcuFormat(const icu::SimpleDateFormat& f, std::int64_t unix_days) {
  icu::UnicodeString out;
  f.format(static_cast<UDate>(unix_days) * 86'400'000.0, out);
  return {reinterpret_cast<const char16_t*>(out.getBuffer()),
          static_cast<std::size_t>(out.length())};
}

// "dddddd" interprets the locale's full date pattern; ICU's own formatting of that pattern, on
// the proleptic Gregorian calendar, must give the same text.
TEST(IcuDates, LongDateMatchesIcuFormatting) {
  for (const char* name : {"es_MX", "es_ES", "en_US", "en_GB", "de_DE", "fr_FR", "it_IT", "pt_BR",
                           "nl_NL", "ja_JP", "ru_RU"}) {
    const LocaleData loc = IcuLocaleData(name);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icu_loc(name);
    auto* calendar = new icu::GregorianCalendar(icu::TimeZone::getGMT()->clone(), icu_loc, status);
    calendar->setGregorianChange(-1e300, status);
    icu::SimpleDateFormat f(
        icu::UnicodeString(reinterpret_cast<const UChar*>(loc.long_date_pattern.data()),
                           static_cast<int32_t>(loc.long_date_pattern.size())),
        icu_loc, status);
    f.adoptCalendar(calendar);
    ASSERT_TRUE(U_SUCCESS(status)) << name;
    const std::int64_t first = DaysFromCivil({100, 1, 1});
    const std::int64_t last = DaysFromCivil({9999, 12, 31});
    // Every day of 2009 (all names) and a stride through the whole range.
    std::vector<std::int64_t> days;
    for (std::int64_t d = DaysFromCivil({2009, 1, 1}); d <= DaysFromCivil({2009, 12, 31}); ++d)
      days.push_back(d);
    for (std::int64_t d = first; d <= last; d += 997) days.push_back(d);
    for (const std::int64_t d : days) {
      const Date value{static_cast<double>(SerialFromCivil(CivilFromDays(d)))};
      ASSERT_EQ(ToUtf8(FormatDateLayout(value, u"dddddd", loc)), ToUtf8(IcuFormat(f, d)))
          << name << " day " << d;
    }
  }
}

TEST(IcuDates, SpanishMexicoWordsFromIcuData) {
  auto services = FixedServices(MakeDate({2009, 3, 15}, {17, 30, 0}), IcuLocaleData("es_MX"));
  Dolva d(services);
  Variant date = MakeDate({2009, 3, 15}), lang = u"E", place = Variant::Missing(),
          long_form = false, time = true;
  EXPECT_EQ(ToUtf8(d.Fechador(date, lang, place, long_form, time)),
            "México, D.F. a dom, 15-mar-2009 @ 05:30:00 p.\u00A0m..");
  bool yes = true;
  EXPECT_EQ(ToUtf8(d.Saludos(yes, yes)), "Buenas Tardes, domingo 15-mar-2009 @ 05:30 p..");
  std::u16string empty;
  EXPECT_EQ(d.FechaTxtBox(yes, empty), u"01/03/2009");
  EXPECT_EQ(empty, u"15/03/2009");
}

}  // namespace
}  // namespace velmora::linux_platform
