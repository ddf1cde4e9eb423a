// Writing dates by layout and by the locale's long date pattern.
#include <cstdint>
#include <vector>

#include "velmora/date_layout.h"
#include "velmora/error.h"

namespace velmora {

namespace {

constexpr char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Appends a non-negative number with at least `width` digits.
void AppendNumber(std::u16string& out, std::int64_t value, int width) {
  char16_t buf[24];
  int n = 0;
  const bool negative = value < 0;
  std::uint64_t v =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    buf[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < width && n < 20) buf[n++] = u'0';
  if (negative) out.push_back(u'-');
  while (n > 0) out.push_back(buf[--n]);
}

int DayOfYear(CivilDate d) {
  return static_cast<int>(DaysFromCivil(d) - DaysFromCivil({d.year, 1, 1})) + 1;  // [1, 366]
}

enum class F : std::uint8_t {
  kText,
  kDay,
  kDay2,
  kDayAbbr,
  kDayName,
  kShortDate,
  kLongDate,
  kWeekday,
  kMonth,
  kMonth2,
  kMonthAbbr,
  kMonthName,
  kQuarter,
  kYearDay,
  kYear2,
  kYear4,
  kHour,
  kHour2,
  kMinute,
  kMinute2,
  kSecond,
  kSecond2,
  kDesignator,  // the locale's own
  kLetters,     // "AM/PM" or "A/P" as written: the part before or after the slash
};

struct Field {
  F kind;
  std::u16string_view text;  // the literal, or the letters of an AM/PM token
};

// Length of the run of `letter` (either case) at i, at most `max`.
std::size_t Run(std::u16string_view s, std::size_t i, char16_t letter, std::size_t max) {
  std::size_t n = 0;
  while (i + n < s.size() && n < max && Lower(s[i + n]) == letter) ++n;
  return n;
}

bool StartsWithNoCase(std::u16string_view s, std::size_t i, std::u16string_view word) {
  if (s.size() - i < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (Lower(s[i + k]) != word[k]) return false;
  }
  return true;
}

std::vector<Field> Tokenize(std::u16string_view s) {
  std::vector<Field> out;
  out.reserve(s.size());
  std::size_t i = 0;
  auto add = [&](F kind, std::size_t len) {
    out.push_back({kind, s.substr(i, len)});
    i += len;
  };
  while (i < s.size()) {
    const char16_t c = Lower(s[i]);
    switch (c) {
      case u'd': {
        static constexpr F kByCount[] = {F::kDay,     F::kDay2,      F::kDayAbbr,
                                         F::kDayName, F::kShortDate, F::kLongDate};
        const std::size_t n = Run(s, i, u'd', 6);
        add(kByCount[n - 1], n);
        break;
      }
      case u'm': {
        static constexpr F kByCount[] = {F::kMonth, F::kMonth2, F::kMonthAbbr, F::kMonthName};
        const std::size_t n = Run(s, i, u'm', 4);
        add(kByCount[n - 1], n);
        break;
      }
      case u'y': {
        const std::size_t n = Run(s, i, u'y', 4);
        if (n == 4) add(F::kYear4, 4);
        else if (n >= 2) add(F::kYear2, 2);
        else add(F::kYearDay, 1);
        break;
      }
      case u'h': add(Run(s, i, u'h', 2) == 2 ? F::kHour2 : F::kHour, Run(s, i, u'h', 2)); break;
      case u'n': add(Run(s, i, u'n', 2) == 2 ? F::kMinute2 : F::kMinute, Run(s, i, u'n', 2)); break;
      case u's': add(Run(s, i, u's', 2) == 2 ? F::kSecond2 : F::kSecond, Run(s, i, u's', 2)); break;
      case u'w': add(F::kWeekday, 1); break;
      case u'q': add(F::kQuarter, 1); break;
      case u'a':
        if (StartsWithNoCase(s, i, u"ampm")) add(F::kDesignator, 4);
        else if (StartsWithNoCase(s, i, u"am/pm")) add(F::kLetters, 5);
        else if (StartsWithNoCase(s, i, u"a/p")) add(F::kLetters, 3);
        else add(F::kText, 1);
        break;
      case u'\\':
        ++i;
        if (i < s.size()) add(F::kText, 1);
        break;
      case u'"': {
        const std::size_t close = s.find(u'"', i + 1);
        const std::size_t end = close == std::u16string_view::npos ? s.size() : close;
        out.push_back({F::kText, s.substr(i + 1, end - i - 1)});
        i = end == s.size() ? end : end + 1;
        break;
      }
      default: {
        // A run of plain characters is one literal.
        std::size_t n = 1;
        while (i + n < s.size()) {
          const char16_t next = Lower(s[i + n]);
          if (next == u'd' || next == u'm' || next == u'y' || next == u'h' || next == u'n' ||
              next == u's' || next == u'w' || next == u'q' || next == u'a' || next == u'\\' ||
              next == u'"')
            break;
          ++n;
        }
        add(F::kText, n);
      }
    }
  }
  // "m" and "mm" are minutes right after an hour or right before seconds, as in "hh:mm:ss".
  auto neighbour = [&](std::size_t k, int step) -> F {
    for (auto j = static_cast<std::ptrdiff_t>(k) + step;
         j >= 0 && j < static_cast<std::ptrdiff_t>(out.size()); j += step) {
      if (out[static_cast<std::size_t>(j)].kind != F::kText)
        return out[static_cast<std::size_t>(j)].kind;
    }
    return F::kText;
  };
  for (std::size_t k = 0; k < out.size(); ++k) {
    if (out[k].kind != F::kMonth && out[k].kind != F::kMonth2) continue;
    const F before = neighbour(k, -1);
    const F after = neighbour(k, +1);
    if (before == F::kHour || before == F::kHour2 || after == F::kSecond || after == F::kSecond2) {
      out[k].kind = out[k].kind == F::kMonth ? F::kMinute : F::kMinute2;
    }
  }
  return out;
}

}  // namespace

CivilDateTime SplitDateInRange(Date value) {
  if (!IsValidDate(value)) throw Error(err::kOverflow);
  return SplitDate(value);
}

std::u16string ShortDateText(CivilDate d, const LocaleData& loc) {
  std::u16string out;
  out.reserve(10);
  const char16_t sep = loc.date_separator;
  switch (loc.date_order) {
    case DateOrder::kDayMonthYear:
      AppendNumber(out, d.day, 2), out += sep, AppendNumber(out, d.month, 2), out += sep;
      AppendNumber(out, d.year, 4);
      break;
    case DateOrder::kMonthDayYear:
      AppendNumber(out, d.month, 2), out += sep, AppendNumber(out, d.day, 2), out += sep;
      AppendNumber(out, d.year, 4);
      break;
    case DateOrder::kYearMonthDay:
      AppendNumber(out, d.year, 4), out += sep, AppendNumber(out, d.month, 2), out += sep;
      AppendNumber(out, d.day, 2);
      break;
  }
  return out;
}

std::u16string FormatDatePattern(CivilDate date, std::u16string_view p, const LocaleData& loc) {
  std::u16string out;
  out.reserve(p.size() + 24);
  const int weekday = Weekday(date);  // [1, 7]
  std::size_t i = 0;
  while (i < p.size()) {
    const char16_t c = p[i];
    if (c == u'\'') {
      // '' is an apostrophe, inside quoted text as well as outside it.
      if (i + 1 < p.size() && p[i + 1] == u'\'') {
        out.push_back(u'\'');
        i += 2;
        continue;
      }
      for (++i; i < p.size(); ++i) {
        if (p[i] == u'\'') {
          if (i + 1 < p.size() && p[i + 1] == u'\'') {
            out.push_back(u'\'');
            ++i;
            continue;
          }
          break;
        }
        out.push_back(p[i]);
      }
      ++i;
      continue;
    }
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (!letter) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t n = 1;
    while (i + n < p.size() && p[i + n] == c) ++n;
    i += n;
    switch (c) {
      case u'E':
      case u'c':
      case u'e': {
        if ((c == u'c' || c == u'e') && n <= 2) {
          AppendNumber(out, weekday, static_cast<int>(n));
        } else if (n == 4) {
          out += loc.day_names[weekday - 1];
        } else if (n == 5) {
          out += loc.day_names[weekday - 1].substr(0, 1);
        } else {
          out += loc.day_abbrevs[weekday - 1];
        }
        break;
      }
      case u'd': AppendNumber(out, date.day, static_cast<int>(n)); break;
      case u'M':
      case u'L':
        if (n <= 2) AppendNumber(out, date.month, static_cast<int>(n));
        else if (n == 3) out += loc.month_abbrevs[date.month - 1];
        else if (n == 4) out += loc.month_names[date.month - 1];
        else out += loc.month_names[date.month - 1].substr(0, 1);
        break;
      case u'y':
      case u'Y':
      case u'u':
        if (n == 2) AppendNumber(out, date.year % 100, 2);
        else AppendNumber(out, date.year, static_cast<int>(n));
        break;
      default: break;  // era, time or zone fields have no place in a long date of this library
    }
  }
  return out;
}

std::u16string FormatDateLayout(Date value, std::u16string_view layout, const LocaleData& loc) {
  const CivilDateTime dt = SplitDateInRange(value);
  const CivilDate& d = dt.date;
  const CivilTime& t = dt.time;
  const std::vector<Field> fields = Tokenize(layout);
  bool twelve = false;
  for (const Field& f : fields) twelve |= f.kind == F::kDesignator || f.kind == F::kLetters;
  const bool after_noon = t.hour >= 12;
  const int hour = twelve ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour;  // [0, 23] or [1, 12]

  std::u16string out;
  out.reserve(layout.size() + 16);
  for (const Field& f : fields) {
    switch (f.kind) {
      case F::kText: out += f.text; break;
      case F::kDay: AppendNumber(out, d.day, 1); break;
      case F::kDay2: AppendNumber(out, d.day, 2); break;
      case F::kDayAbbr: out += loc.day_abbrevs[Weekday(d) - 1]; break;
      case F::kDayName: out += loc.day_names[Weekday(d) - 1]; break;
      case F::kShortDate: out += ShortDateText(d, loc); break;
      case F::kLongDate: out += FormatDatePattern(d, loc.long_date_pattern, loc); break;
      case F::kWeekday: AppendNumber(out, Weekday(d), 1); break;
      case F::kMonth: AppendNumber(out, d.month, 1); break;
      case F::kMonth2: AppendNumber(out, d.month, 2); break;
      case F::kMonthAbbr: out += loc.month_abbrevs[d.month - 1]; break;
      case F::kMonthName: out += loc.month_names[d.month - 1]; break;
      case F::kQuarter: AppendNumber(out, (d.month + 2) / 3, 1); break;
      case F::kYearDay: AppendNumber(out, DayOfYear(d), 1); break;
      case F::kYear2: AppendNumber(out, d.year % 100, 2); break;
      case F::kYear4: AppendNumber(out, d.year, 4); break;
      case F::kHour: AppendNumber(out, hour, 1); break;
      case F::kHour2: AppendNumber(out, hour, 2); break;
      case F::kMinute: AppendNumber(out, t.minute, 1); break;
      case F::kMinute2: AppendNumber(out, t.minute, 2); break;
      case F::kSecond: AppendNumber(out, t.second, 1); break;
      case F::kSecond2: AppendNumber(out, t.second, 2); break;
      case F::kDesignator: out += after_noon ? loc.pm : loc.am; break;
      case F::kLetters:
        // "AM/PM" -> "AM" or "PM"; "A/P" -> "A" or "P"; the letters in the case written.
        if (f.text.size() == 5) out += after_noon ? f.text.substr(3, 2) : f.text.substr(0, 2);
        else out += after_noon ? f.text.substr(2, 1) : f.text.substr(0, 1);
        break;
    }
  }
  return out;
}

}  // namespace velmora
