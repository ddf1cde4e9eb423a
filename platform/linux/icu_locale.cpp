#include "icu_locale.h"

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <cstdlib>

namespace velmora::linux_platform {

namespace {

std::u16string ToU16(const icu::UnicodeString& s) {
  return {reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<std::size_t>(s.length())};
}

template <std::size_t N>
void CopyNames(std::array<std::u16string, N>& out, const icu::UnicodeString* names, int32_t count,
               int first) {
  for (std::size_t i = 0; i < N && static_cast<int32_t>(i) + first < count; ++i) {
    out[i] = ToU16(names[i + first]);
  }
}

// Pattern letters outside quotes, in order of first appearance: "dd/MM/yy" -> "dMy".
std::u16string FieldOrder(const std::u16string& pattern, char16_t& separator) {
  std::u16string order;
  bool quoted = false;
  separator = u'/';
  bool sep_found = false;
  for (char16_t c : pattern) {
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (c == u'd' || c == u'M' || c == u'L' || c == u'y') {
      const char16_t f = c == u'L' ? u'M' : c;
      if (order.find(f) == std::u16string::npos) order.push_back(f);
    } else if (!order.empty() && !sep_found && c != u' ') {
      separator = c;
      sep_found = true;
    }
  }
  return order;
}

}  // namespace

std::string EnvironmentLocaleName() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0') continue;
    std::string name(v);
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") break;
    return name;
  }
  return "es_MX";
}

LocaleData IcuLocaleData(const std::string& name) {
  const icu::Locale loc(name.c_str());
  LocaleData d = std::string(loc.getLanguage()) == "es" ? SpanishMexico() : EnglishUnitedStates();
  d.name = name;
  d.spanish = std::string(loc.getLanguage()) == "es";

  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols marks(loc, status);
  if (U_SUCCESS(status)) {
    const auto dec = marks.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
    const auto grp = marks.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol);
    if (dec.length() == 1) d.decimal_mark = dec.charAt(0);
    if (grp.length() == 1) d.group_mark = grp.charAt(0);
  }

  status = U_ZERO_ERROR;
  const icu::DateFormatSymbols symbols(loc, status);
  if (U_SUCCESS(status)) {
    using S = icu::DateFormatSymbols;
    int32_t count = 0;
    const auto* days = symbols.getWeekdays(count, S::FORMAT, S::WIDE);
    CopyNames(d.day_names, days, count, 1);  // ICU's index 1 is Sunday
    days = symbols.getWeekdays(count, S::FORMAT, S::ABBREVIATED);
    CopyNames(d.day_abbrevs, days, count, 1);
    const auto* months = symbols.getMonths(count, S::FORMAT, S::WIDE);
    CopyNames(d.month_names, months, count, 0);
    months = symbols.getMonths(count, S::FORMAT, S::ABBREVIATED);
    CopyNames(d.month_abbrevs, months, count, 0);
    const auto* ampm = symbols.getAmPmStrings(count);
    if (count >= 2) {
      d.am = ToU16(ampm[0]);
      d.pm = ToU16(ampm[1]);
    }
  }

  auto pattern_of = [&](icu::DateFormat::EStyle style) -> std::u16string {
    std::unique_ptr<icu::DateFormat> f(icu::DateFormat::createDateInstance(style, loc));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(f.get());
    if (simple == nullptr) return {};
    icu::UnicodeString p;
    simple->toPattern(p);
    return ToU16(p);
  };
  if (auto full = pattern_of(icu::DateFormat::kFull); !full.empty()) d.long_date_pattern = full;
  if (auto shrt = pattern_of(icu::DateFormat::kShort); !shrt.empty()) {
    const std::u16string order = FieldOrder(shrt, d.date_separator);
    if (order.rfind(u"yMd", 0) == 0) d.date_order = DateOrder::kYearMonthDay;
    else if (order.rfind(u"Md", 0) == 0) d.date_order = DateOrder::kMonthDayYear;
    else d.date_order = DateOrder::kDayMonthYear;
  }
  return d;
}

}  // namespace velmora::linux_platform
