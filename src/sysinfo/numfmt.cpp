#include "numfmt.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "velmora/coerce.h"

namespace velmora::sysinfo_detail {

namespace {

// Groups a run of decimal digits by thousands.
std::u16string Grouped(bool negative, std::string_view digits, char16_t mark) {
  std::u16string out;
  if (negative) out += u'-';
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += mark;
    out += static_cast<char16_t>(digits[i]);
  }
  return out;
}

// |scaled| rounded to `decimals` of its four, halves away from zero, as a whole count of
// 10^-decimals units.
std::uint64_t RoundAway(std::int64_t scaled, int decimals) {
  const std::uint64_t mag =
      scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::uint64_t unit = 1;
  for (int i = decimals; i < 4; ++i) unit *= 10;  // [1, 10 000]
  return mag / unit + (mag % unit >= (unit + 1) / 2 ? 1 : 0);
}

}  // namespace

std::u16string FormatWhole(double value, const LocaleData& loc) {
  if (!std::isfinite(value)) return Widen(std::isnan(value) ? "NaN" : "Inf");
  const double r = std::round(value);  // halves away from zero
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(r), std::chars_format::fixed, 0);
  return Grouped(r < 0, std::string_view(buf, res.ptr - buf), loc.group_mark);
}

std::u16string FormatWhole(Currency value, const LocaleData& loc) {
  const std::uint64_t whole = RoundAway(value.scaled(), 0);
  const std::string digits = std::to_string(whole);
  return Grouped(value.scaled() < 0 && whole != 0, digits, loc.group_mark);
}

std::u16string FormatTwoDecimals(Currency value, const LocaleData& loc) {
  const std::uint64_t hundredths = RoundAway(value.scaled(), 2);
  const std::string whole = std::to_string(hundredths / 100);
  std::u16string out = Grouped(value.scaled() < 0 && hundredths != 0, whole, loc.group_mark);
  out += loc.decimal_mark;
  out += static_cast<char16_t>(u'0' + hundredths / 10 % 10);
  out += static_cast<char16_t>(u'0' + hundredths % 10);
  return out;
}

std::u16string Decimal(std::int64_t value) { return Widen(std::to_string(value)); }
std::u16string Decimal(std::uint64_t value) { return Widen(std::to_string(value)); }
std::u16string Decimal(std::int32_t value) { return Widen(std::to_string(value)); }
std::u16string Decimal(std::uint32_t value) { return Widen(std::to_string(value)); }

Currency BytesToCurrency(std::uint64_t bytes) {
  constexpr std::uint64_t kTop =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() / Currency::kScale);
  if (bytes > kTop) return Currency::FromScaled(std::numeric_limits<std::int64_t>::max());
  return Currency::FromScaled(static_cast<std::int64_t>(bytes) * Currency::kScale);
}

}  // namespace velmora::sysinfo_detail
