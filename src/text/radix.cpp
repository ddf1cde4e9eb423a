#include "velmora/radix.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

// The first value a 15-digit decimal rewriting writes in exponent form.
constexpr double kRewriteLimit = 1e15;

std::u16string Radix32(std::int32_t value, unsigned bits_per_digit) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  auto u = static_cast<std::uint32_t>(value);  // two's complement of a negative value
  const std::uint32_t mask = (1U << bits_per_digit) - 1;
  char16_t buf[11];  // 32 bits are at most 11 octal digits
  std::size_t pos = sizeof buf / sizeof buf[0];
  do {
    buf[--pos] = kDigits[u & mask];
    u >>= bits_per_digit;
  } while (u != 0);
  return {buf + pos, buf + sizeof buf / sizeof buf[0]};
}

// A whole number from a double, halves to the even neighbour, whatever the FPU's rounding mode.
double RoundHalfEven(double x) {
  const double f = std::floor(x);
  const double rest = x - f;  // exact: [0, 1)
  if (rest > 0.5 || (rest == 0.5 && std::fmod(f, 2.0) != 0)) return f + 1;
  return f;
}

// Decimal rewriting of a text: read as a number, written back with a leading blank when not
// negative; a text that is not a number raises 13.
std::u16string RewriteText(std::u16string_view text, const LocaleData& loc) {
  const auto value = ParseNumber(text, loc);
  if (!value) throw Error(err::kTypeMismatch);
  return DecimalRewrite(*value);
}

// Converts one character on its own as a currency amount: a digit, or 13.
Currency CharAmount(char16_t c, const LocaleData& loc) {
  const auto value = ParseCurrency(std::u16string_view(&c, 1), loc);
  if (!value) throw Error(err::kTypeMismatch);
  return *value;
}

// The fill length that brings a text up to whole groups, as the 16-bit length StrZero takes.
std::int16_t GroupedLength(std::size_t length, std::size_t group) {
  const std::size_t target = length + (group - length % group) % group;
  if (target > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
    throw Error(err::kOverflow);
  return static_cast<std::int16_t>(target);
}

}  // namespace

std::u16string Octal32(std::int32_t value) { return Radix32(value, 3); }
std::u16string Hex32(std::int32_t value) { return Radix32(value, 4); }

double BinaryValue(std::u16string_view digits) {
  // Horner's rule: doubling is exact, so each step rounds exactly as adding the digit times its
  // power of two would.
  double value = 0;
  for (const char16_t c : digits) {
    const int digit = c >= u'0' && c <= u'9' ? c - u'0' : 0;  // [0, 9]
    value = value * 2 + digit;
    if (value > std::numeric_limits<double>::max()) throw Error(err::kOverflow);
  }
  return value;
}

std::u16string Dolva::DecBin(Currency Numero) {
  std::u16string out;
  std::int64_t amount = Numero.scaled();  // ten-thousandths
  while (amount > 0) {
    // The half is held as currency: four decimals, a half of the last place to even.
    std::int64_t half = amount / 2;
    if (amount % 2 != 0 && half % 2 != 0) ++half;
    out.push_back(half % Currency::kScale == 0 ? u'0' : u'1');
    amount = half / Currency::kScale * Currency::kScale;  // whole from here on
  }
  std::reverse(out.begin(), out.end());
  return out;
}

std::u16string Dolva::DecOct(Currency Numero) {
  const std::int64_t whole = Numero.RoundEven();
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max())
    throw Error(err::kOverflow);
  return Octal32(static_cast<std::int32_t>(whole));
}

std::u16string Dolva::DecHex(const std::u16string& xNum3) {
  const auto value = ParseNumber(xNum3, locale());
  if (!value) throw Error(err::kTypeMismatch);
  const double whole = RoundHalfEven(*value);
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) throw Error(err::kOverflow);
  return Hex32(static_cast<std::int32_t>(whole));
}

std::u16string Dolva::BinDec(const std::u16string& xNum2) {
  // The value is never negative, so its rewriting starts with the blank this result drops.
  return DecimalRewrite(BinaryValue(xNum2)).substr(1);
}

std::u16string Dolva::BinHex(const std::u16string& xNum) {
  Variant zero_fill = Variant::Missing();
  const std::u16string filled = StrZero(xNum, GroupedLength(xNum.size(), 4), zero_fill);
  std::u16string out;
  for (std::size_t i = 0; i + 4 <= filled.size(); i += 4) {
    const std::u16string group = RewriteText(std::u16string_view(filled).substr(i, 4), locale());
    const std::u16string decimal(TrimBlanks(BinDec(group)));
    out += DecHex(decimal);
  }
  return std::u16string(TrimBlanks(out));
}

std::u16string Dolva::BinOct(const std::u16string& xNum) {
  const auto value = ParseNumber(xNum, locale());
  if (!value) throw Error(err::kTypeMismatch);
  if (std::fabs(*value) >= kRewriteLimit) throw Error(err::kOverflow);
  const std::u16string rewritten = DecimalRewrite(*value);
  Variant zero_fill = Variant::Missing();
  const std::u16string filled = StrZero(rewritten, GroupedLength(rewritten.size(), 3), zero_fill);
  std::u16string out;
  for (std::size_t i = 0; i + 3 <= filled.size(); i += 3) {
    const std::u16string group = RewriteText(std::u16string_view(filled).substr(i, 3), locale());
    out += TrimBlanks(BinDec(group));
  }
  return std::u16string(TrimBlanks(out));
}

std::u16string Dolva::OctBin(const std::u16string& xNum) {
  std::u16string joined;
  joined.reserve(3 * xNum.size());
  for (const char16_t c : xNum) {
    Variant zero_fill = Variant::Missing();
    joined += StrZero(DecBin(CharAmount(c, locale())), 3, zero_fill);
  }
  // Read back as a decimal number: the leading zeros go and the rewriting's blank stays.
  const auto value = ParseNumber(joined, locale());
  if (!value) throw Error(err::kTypeMismatch);
  if (*value >= kRewriteLimit) throw Error(err::kOverflow);
  return DecimalRewrite(*value);
}

std::u16string Dolva::HexBin(const std::u16string& xNum) {
  const std::u16string upper = UpperCase(xNum);
  std::u16string out;
  out.reserve(4 * upper.size());
  for (const char16_t c : upper) {
    const Currency digit =
        c >= u'A' && c <= u'F' ? Currency::FromWhole(c - u'A' + 10) : CharAmount(c, locale());
    Variant zero_fill = Variant::Missing();
    out += StrZero(DecBin(digit), 4, zero_fill);
  }
  return out;
}

std::u16string Dolva::HexDec(const std::u16string& xNum5) { return BinDec(HexBin(xNum5)); }

}  // namespace velmora
