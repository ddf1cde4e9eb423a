// Dates read from and written as text.
//
// Accepted forms (blanks around them ignored):
//   short dates in the locale's day/month/year order with "/", "-" or "." between the fields
//     (the same mark twice), a one- or two-digit year meaning 2000-2029 for 0-29 and 1930-1999
//     for 30-99, or a four-digit year;
//   ISO dates "yyyy-mm-dd" (a year-first locale also takes its own marks);
//   either of them followed by a blank and a time, or ISO's "T" and a time, or a time alone:
//     "hh:mm" or "hh:mm:ss", with an optional designator (AM/PM, a.m./p.m., or the locale's own,
//     in any case, blanks inside ignored) after an hour of 1-12.
// Anything else, or a day that the month does not have, or a year outside 100-9999, is not a
// date. Dates are written back as the short date with a four-digit year, so they read again.
#include <string>

#include "velmora/coerce.h"
#include "velmora/date_layout.h"

namespace velmora {

namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsSpace(char16_t c) { return c == u' ' || c == u'\u00A0' || c == u'\t'; }

bool IsGregorianLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsGregorianLeap(y) ? 29 : kDays[m - 1];
}

class Reader {
 public:
  explicit Reader(std::u16string_view t) : t_(t) {}
  bool AtEnd() const { return i_ == t_.size(); }
  char16_t Peek() const { return AtEnd() ? u'\0' : t_[i_]; }
  void SkipSpaces() {
    while (!AtEnd() && IsSpace(t_[i_])) ++i_;
  }
  // Reads 1..max_digits digits; returns the count read (0 when none).
  int Number(int max_digits, int& value) {
    int n = 0;
    value = 0;
    while (!AtEnd() && IsDigit(t_[i_])) {
      if (++n > max_digits) return -1;
      value = value * 10 + (t_[i_++] - u'0');
    }
    return n;
  }
  bool Accept(char16_t c) {
    if (Peek() != c) return false;
    ++i_;
    return true;
  }
  std::u16string_view Rest() const { return t_.substr(i_); }
  std::size_t pos() const { return i_; }
  void set_pos(std::size_t p) { i_ = p; }

 private:
  std::u16string_view t_;
  std::size_t i_ = 0;
};

// Letters of a designator without blanks, points or case: "p. m." -> "PM".
std::u16string Squeeze(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (!IsSpace(c) && c != u'.') out.push_back(UpperChar(c));
  }
  return out;
}

// -1 not a designator, 0 before noon, 1 after noon.
int Designator(std::u16string_view s, const LocaleData& loc) {
  const std::u16string q = Squeeze(s);
  if (q.empty()) return -1;
  if (q == u"AM" || q == u"A" || q == Squeeze(loc.am)) return 0;
  if (q == u"PM" || q == u"P" || q == Squeeze(loc.pm)) return 1;
  return -1;
}

bool ReadTime(Reader& r, const LocaleData& loc, CivilTime& out) {
  int h = 0, m = 0, s = 0;
  if (r.Number(2, h) <= 0 || !r.Accept(u':') || r.Number(2, m) != 2) return false;
  if (r.Accept(u':') && r.Number(2, s) != 2) return false;
  r.SkipSpaces();
  if (!r.AtEnd()) {
    const int d = Designator(r.Rest(), loc);
    if (d < 0 || h < 1 || h > 12) return false;
    h = h % 12 + (d == 1 ? 12 : 0);
    r.set_pos(r.pos() + r.Rest().size());
  }
  if (h > 23 || m > 59 || s > 59) return false;
  out = {h, m, s};
  return true;
}

int ExpandYear(int digits, int value) {
  if (digits == 4) return value;
  return value < 30 ? 2000 + value : 1900 + value;
}

bool ReadDate(Reader& r, const LocaleData& loc, CivilDate& out) {
  int a = 0, b = 0, c = 0;
  const int na = r.Number(4, a);
  if (na <= 0) return false;
  const char16_t sep = r.Peek();
  if (sep != u'/' && sep != u'-' && sep != u'.') return false;
  r.Accept(sep);
  const int nb = r.Number(2, b);
  if (nb <= 0 || !r.Accept(sep)) return false;
  const int nc = r.Number(4, c);
  if (nc <= 0) return false;
  int y = 0, m = 0, d = 0;
  if (na == 4) {
    // A four-digit year first is ISO "yyyy-mm-dd", or the order of a year-first locale.
    if (nc > 2) return false;
    if (sep != u'-' && loc.date_order != DateOrder::kYearMonthDay) return false;
    y = a, m = b, d = c;
  } else {
    if (nc == 3 || na > 2) return false;
    switch (loc.date_order) {
      case DateOrder::kDayMonthYear: d = a, m = b, y = ExpandYear(nc, c); break;
      case DateOrder::kMonthDayYear: m = a, d = b, y = ExpandYear(nc, c); break;
      case DateOrder::kYearMonthDay:
        if (nc > 2) return false;
        y = ExpandYear(na, a), m = b, d = c;
        break;
    }
  }
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  out = {y, m, d};
  return true;
}

}  // namespace

std::optional<Date> ParseDate(std::u16string_view text, const LocaleData& loc) {
  Reader r(text);
  r.SkipSpaces();
  const std::size_t start = r.pos();
  CivilDate date;
  CivilTime time;
  bool has_date = false;
  // A time alone starts with digits and a colon; try the date first and fall back.
  if (ReadDate(r, loc, date)) {
    has_date = true;
    const std::size_t after = r.pos();
    r.SkipSpaces();
    if (r.Accept(u'T')) {
      // ISO's "T" always introduces a time.
      if (!ReadTime(r, loc, time)) return std::nullopt;
    } else if (r.pos() > after && !r.AtEnd() && !ReadTime(r, loc, time)) {
      return std::nullopt;
    }
  } else {
    r.set_pos(start);
    if (!ReadTime(r, loc, time)) return std::nullopt;
  }
  r.SkipSpaces();
  if (!r.AtEnd()) return std::nullopt;
  if (!has_date) return MakeDate({1899, 12, 30}, time);
  return MakeDate(date, time);
}

std::u16string FormatDateText(Date value, const LocaleData& loc) {
  const CivilDateTime dt = SplitDateInRange(value);
  const bool midnight = dt.time == CivilTime{};
  // Day 0 with a time is a time alone, as a time typed without a date reads back.
  const bool day_zero =
      value.serial > -1.0 && value.serial < 1.0 && dt.date == CivilDate{1899, 12, 30};
  if (day_zero && !midnight) return FormatDateLayout(value, layouts::kClock24, loc);
  std::u16string out = ShortDateText(dt.date, loc);
  if (!midnight) out += u' ' + FormatDateLayout(value, layouts::kClock24, loc);
  return out;
}

}  // namespace velmora
