// Times of day and durations as fixed-position text.
#include "velmora/clock_time.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "velmora/coerce.h"
#include "velmora/date_layout.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A substring by character position that, like the runtime's, yields what exists.
std::u16string_view Mid(std::u16string_view s, std::size_t from, std::size_t count) {
  if (from >= s.size()) return {};
  return s.substr(from, count);
}

std::u16string_view Right(std::u16string_view s, std::size_t count) {
  return count >= s.size() ? s : s.substr(s.size() - count);
}

std::int32_t ToLongChecked(double value) {
  const double r = std::nearbyint(value);  // halves to even in the default rounding mode
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max()))
    throw Error(err::kOverflow);
  return static_cast<std::int32_t>(r);
}

std::int32_t Checked32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    throw Error(err::kOverflow);
  return static_cast<std::int32_t>(value);
}

std::u16string Decimal(std::int64_t v) { return Widen(std::to_string(v)); }

}  // namespace

double LeadingNumber(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') number.push_back('-');
    ++i;
  }
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsDigit(c)) {
      digits = true;
      number.push_back(static_cast<char>(c));
    } else if (c == u'.' && !point) {
      point = true;
      number.push_back('.');
    } else {
      break;
    }
  }
  if (!digits) return 0;
  double value = 0;
  const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Too many digits after the point only lose precision; a whole part too long overflows.
    if (number.find_first_of("123456789") < number.find('.')) throw Error(err::kOverflow);
    return 0;
  }
  return value;
}

std::int32_t Dolva::Hrs2Seg(Variant& Horas) {
  // A date value is read as its time of day on the 24-hour clock, whatever the locale writes.
  const std::u16string text = Horas.is(VarType::kDate)
                                  ? FormatDateLayout(Horas.date(), layouts::kClock24, locale())
                                  : ToText(Horas, locale());
  const std::u16string_view s = TrimBlanks(text).substr(0, 8);
  if (s.empty()) return 0;
  const double hours = LeadingNumber(Mid(s, 0, 2));
  const double minutes = LeadingNumber(Mid(s, 3, 2));
  const double seconds = LeadingNumber(Right(s, 2));
  return ToLongChecked(hours * 3600 + minutes * 60 + seconds);
}

std::u16string Dolva::Seg2Hrs(std::int32_t& Segundos) {
  const std::int64_t n = Segundos;
  // Hours are the floor of the quotient; minutes and seconds keep the sign of what remains,
  // which is how a negative count comes out as "-2:-30:00".
  std::int64_t hours = n / 3600;
  if (n % 3600 != 0 && n < 0) --hours;
  const std::int64_t rest = n % 3600;  // (-3600, 3600), sign of n
  std::int64_t minutes = rest / 60;
  if (rest % 60 != 0 && rest < 0) --minutes;
  const std::int64_t seconds = rest % 60;  // (-60, 60), sign of rest
  Variant zero = Variant::Missing();
  return StrZero(Decimal(hours), 2, zero) + u':' + StrZero(Decimal(minutes), 2, zero) + u':' +
         StrZero(Decimal(seconds), 2, zero);
}

std::u16string Dolva::Fillhours(std::u16string& vhours) {
  if (vhours.empty()) vhours = u"00:00";
  // The hours are everything before the last two characters; a single character leaves the
  // hours a negative length.
  if (vhours.size() < 2) throw Error(err::kInvalidCall);
  const std::u16string_view v = vhours;
  const double hours = LeadingNumber(v.substr(0, v.size() - 2));
  const double minutes = LeadingNumber(Right(v, 2));
  Variant zero = Variant::Missing();
  return StrZero(FormatDouble(hours, locale()), 2, zero) + u':' +
         StrZero(FormatDouble(minutes, locale()), 2, zero);
}

std::u16string Dolva::SumaHoras(Variant& Hora1, Variant& Hora2) {
  std::int32_t total = Checked32(std::int64_t{Hrs2Seg(Hora1)} + Hrs2Seg(Hora2));
  return Seg2Hrs(total);
}

std::u16string Dolva::RestaHoras(Variant& Hora1, Variant& Hora2) {
  std::int32_t total = Checked32(std::int64_t{Hrs2Seg(Hora1)} - Hrs2Seg(Hora2));
  return Seg2Hrs(total);
}

bool Dolva::MasDeUnDia(std::int32_t& Segundos) { return Segundos >= 86'400; }

Currency Dolva::HrsNumericas(std::u16string& sHrs) {
  if (!ParseDate(sHrs, locale())) return Currency{};
  const std::u16string_view t = TrimBlanks(sHrs);
  const double hours = LeadingNumber(Mid(t, 0, 2));
  const double minutes = LeadingNumber(Mid(t, 3, 2));
  // Hundredths of an hour, truncated: 20 minutes are 0.33 hours.
  const double hundredths = std::floor(minutes * 100 / 60);
  return Currency::FromDouble(hours) +
         Currency::FromScaled(static_cast<std::int64_t>(hundredths) * 100);
}

}  // namespace velmora
