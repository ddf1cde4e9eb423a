#include "win32/nls_locale.h"

#include <algorithm>
#include <array>
#include <string>

#include "velmora/utf.h"
#include "win32/wide.h"
#include "win32/win_api.h"

namespace velmora::win32 {

namespace {

// One NLS value of the locale; empty when NLS has none.
std::u16string LocaleInfo(const wchar_t* locale, LCTYPE type) {
  std::array<wchar_t, 256> buffer{};
  const int n = GetLocaleInfoEx(locale, type, buffer.data(), static_cast<int>(buffer.size()));
  if (n <= 1) return {};
  return FromWide(buffer.data(), static_cast<std::size_t>(n - 1));
}

// Order of the date fields in an NLS short date and the character between the first two:
// "d/M/yyyy" -> "dMy" and '/'.
std::u16string FieldOrder(std::u16string_view format, char16_t& separator) {
  std::u16string order;
  bool quoted = false;
  bool separator_found = false;
  for (char16_t c : format) {
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (c == u'd' || c == u'M' || c == u'y') {
      if (order.find(c) == std::u16string::npos) order.push_back(c);
    } else if (!order.empty() && !separator_found && c != u' ' && c != u'g') {
      separator = c;
      separator_found = true;
    }
  }
  return order;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The letters of an NLS date format.
bool IsNlsField(char16_t c) { return c == u'd' || c == u'M' || c == u'y' || c == u'g'; }

}  // namespace

std::u16string PatternFromNls(std::u16string_view f) {
  std::u16string out;
  std::size_t i = 0;
  while (i < f.size()) {
    const char16_t c = f[i];
    if (c == u'\'') {
      // Quoted text (with '' for a quote) means the same in both syntaxes.
      std::size_t j = i + 1;
      while (j < f.size()) {
        if (f[j] == u'\'') {
          if (j + 1 < f.size() && f[j + 1] == u'\'') {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      out.append(f.substr(i, std::min(j + 1, f.size()) - i));
      if (j >= f.size()) out.push_back(u'\'');  // an unterminated quote runs to the end
      i = j + 1;
      continue;
    }
    if (!IsAsciiLetter(c)) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t n = 1;
    while (i + n < f.size() && f[i + n] == c) ++n;
    switch (c) {
      case u'd':
        // d, dd: the day; ddd, dddd: the day's abbreviated and full name.
        out += n == 1 ? u"d" : n == 2 ? u"dd" : n == 3 ? u"EEE" : u"EEEE";
        break;
      case u'M': out += n == 1 ? u"M" : n == 2 ? u"MM" : n == 3 ? u"MMM" : u"MMMM"; break;
      case u'y':
        // NLS y and yy both give two digits here; yyy and longer the four-digit year.
        out += n <= 2 ? u"yy" : u"yyyy";
        break;
      case u'g': out += u"G"; break;
      default: {
        // A run of letters NLS does not format is one quoted text (two quoted texts side by
        // side would read as one with a quote in it).
        while (i + n < f.size() && IsAsciiLetter(f[i + n]) && !IsNlsField(f[i + n])) ++n;
        out.push_back(u'\'');
        out.append(f.substr(i, n));
        out.push_back(u'\'');
        break;
      }
    }
    i += n;
  }
  return out;
}

LocaleData NlsLocaleData(const std::u16string& name) {
  const wchar_t* locale = name.empty() ? LOCALE_NAME_USER_DEFAULT : Wide(name);
  const std::u16string language = LocaleInfo(locale, LOCALE_SISO639LANGNAME);
  LocaleData d = language == u"es" ? SpanishMexico() : EnglishUnitedStates();
  d.spanish = language == u"es";

  std::u16string full = LocaleInfo(locale, LOCALE_SNAME);
  if (!full.empty()) {
    std::string n = ToUtf8(full);
    for (char& ch : n) {
      if (ch == '-') ch = '_';
    }
    d.name = n;
  }

  const std::u16string decimal = LocaleInfo(locale, LOCALE_SDECIMAL);
  const std::u16string group = LocaleInfo(locale, LOCALE_STHOUSAND);
  if (decimal.size() == 1) d.decimal_mark = decimal[0];
  if (group.size() == 1) d.group_mark = group[0];

  // NLS counts the days from Monday (LOCALE_SDAYNAME1) to Sunday (LOCALE_SDAYNAME7).
  for (int i = 0; i < 7; ++i) {
    const int nls = i == 0 ? 6 : i - 1;
    if (auto s = LocaleInfo(locale, LOCALE_SDAYNAME1 + nls); !s.empty()) d.day_names[i] = s;
    if (auto s = LocaleInfo(locale, LOCALE_SABBREVDAYNAME1 + nls); !s.empty()) d.day_abbrevs[i] = s;
  }
  for (int i = 0; i < 12; ++i) {
    if (auto s = LocaleInfo(locale, LOCALE_SMONTHNAME1 + i); !s.empty()) d.month_names[i] = s;
    if (auto s = LocaleInfo(locale, LOCALE_SABBREVMONTHNAME1 + i); !s.empty())
      d.month_abbrevs[i] = s;
  }
  if (auto s = LocaleInfo(locale, LOCALE_S1159); !s.empty()) d.am = s;
  if (auto s = LocaleInfo(locale, LOCALE_S2359); !s.empty()) d.pm = s;

  if (auto s = LocaleInfo(locale, LOCALE_SLONGDATE); !s.empty())
    d.long_date_pattern = PatternFromNls(s);
  if (auto s = LocaleInfo(locale, LOCALE_SSHORTDATE); !s.empty()) {
    const std::u16string order = FieldOrder(s, d.date_separator);
    if (order.rfind(u"yMd", 0) == 0) d.date_order = DateOrder::kYearMonthDay;
    else if (order.rfind(u"Md", 0) == 0) d.date_order = DateOrder::kMonthDayYear;
    else d.date_order = DateOrder::kDayMonthYear;
  }
  return d;
}

}  // namespace velmora::win32
