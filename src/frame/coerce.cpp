#include "velmora/coerce.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "velmora/error.h"

namespace velmora {

namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0'; }

[[noreturn]] void Mismatch() { throw Error(err::kTypeMismatch); }
[[noreturn]] void Overflow() { throw Error(err::kOverflow); }
[[noreturn]] void NullUse() { throw Error(err::kInvalidNull); }

// A decimal number read from text: sign, significant digits and a power of ten.
struct Decimal {
  bool negative = false;
  std::string digits;    // without leading zeros; empty for zero
  std::int64_t exp = 0;  // value = digits * 10^exp
};

// Radix literal "&H..." / "&O...": up to 16 bits reads as a 16-bit value, up to 32 as 32-bit.
std::optional<double> ParseRadix(std::u16string_view t) {
  if (t.size() < 3 || t[0] != u'&') return std::nullopt;
  const char16_t kind = UpperChar(t[1]);
  const unsigned base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
  if (base == 0) return std::nullopt;
  std::uint64_t v = 0;
  std::size_t bits = 0;
  for (std::size_t i = 2; i < t.size(); ++i) {
    const char16_t c = UpperChar(t[i]);
    unsigned d = 0;
    if (IsDigit(c)) d = c - u'0';
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else return std::nullopt;
    if (d >= base) return std::nullopt;
    v = v * base + d;
    if (v > 0xFFFFFFFFULL) return std::nullopt;
  }
  bits = v > 0xFFFF ? 32 : 16;
  if (bits == 16) return static_cast<double>(static_cast<std::int16_t>(v));
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

std::optional<Decimal> ParseDecimal(std::u16string_view text, const LocaleData& loc) {
  std::u16string_view t = text;
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  if (t.empty()) return std::nullopt;
  Decimal d;
  std::size_t i = 0;
  if (t[i] == u'+' || t[i] == u'-') d.negative = t[i++] == u'-';
  bool any = false;
  bool in_fraction = false;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i];
    if (IsDigit(c)) {
      any = true;
      const bool significant = !d.digits.empty() || c != u'0';
      // Past 400 significant digits the value is decided; further whole digits only scale it.
      if (significant && d.digits.size() < 400) {
        d.digits.push_back(static_cast<char>(c));
        if (in_fraction) --d.exp;
      } else if (significant && !in_fraction) {
        ++d.exp;
      } else if (!significant && in_fraction) {
        --d.exp;  // a leading zero of the fraction: 0.05 is "5" times 10^-2
      }
    } else if (c == loc.group_mark && !in_fraction && any && loc.group_mark != loc.decimal_mark) {
      continue;
    } else if (c == loc.decimal_mark && !in_fraction) {
      in_fraction = true;
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  if (i < t.size()) {
    const char16_t e = UpperChar(t[i]);
    if (e != u'E' && e != u'D') return std::nullopt;
    ++i;
    bool eneg = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) eneg = t[i++] == u'-';
    if (i == t.size()) return std::nullopt;
    std::int64_t ev = 0;
    for (; i < t.size(); ++i) {
      if (!IsDigit(t[i])) return std::nullopt;
      if (ev < 100'000) ev = ev * 10 + (t[i] - u'0');
    }
    d.exp += eneg ? -ev : ev;
  }
  return d;
}

}  // namespace

std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
    return (c & 1) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

std::u16string UpperCase(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

std::u16string_view TrimLeftBlanks(std::u16string_view t) {
  while (!t.empty() && t.front() == u' ') t.remove_prefix(1);
  return t;
}

std::u16string_view TrimRightBlanks(std::u16string_view t) {
  while (!t.empty() && t.back() == u' ') t.remove_suffix(1);
  return t;
}

std::u16string_view TrimBlanks(std::u16string_view t) { return TrimRightBlanks(TrimLeftBlanks(t)); }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

std::optional<double> ParseNumber(std::u16string_view text, const LocaleData& loc) {
  if (auto r = ParseRadix(TrimBlanks(text))) return r;
  const auto d = ParseDecimal(text, loc);
  if (!d) return std::nullopt;
  if (d->digits.empty()) return 0.0;
  std::string s = d->negative ? "-" : "";
  s += d->digits;
  s += 'e';
  s += std::to_string(d->exp);
  double v = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; only a value too large to hold is an overflow.
    if (d->exp < 0) return d->negative ? -0.0 : 0.0;
    Overflow();
  }
  if (res.ec != std::errc() || !std::isfinite(v)) Overflow();
  return v;
}

std::optional<Currency> ParseCurrency(std::u16string_view text, const LocaleData& loc) {
  if (auto r = ParseRadix(TrimBlanks(text))) return Currency::FromDouble(*r);
  const auto d = ParseDecimal(text, loc);
  if (!d) return std::nullopt;
  // Scale to ten-thousandths: keep digits up to exponent -4, round the rest halves to even.
  const std::int64_t shift = d->exp + 4;  // value * 10^4 = digits * 10^shift
  const auto n = static_cast<std::int64_t>(d->digits.size());
  if (n == 0) return Currency{};
  if (n + shift > 19) Overflow();
  std::uint64_t acc = 0;  // at most 19 digits: below 10^19 < 2^64
  if (shift >= 0) {
    for (const char c : d->digits) acc = acc * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::int64_t k = 0; k < shift; ++k) acc *= 10;
  } else {
    const std::int64_t keep = std::max<std::int64_t>(0, n + shift);
    for (std::int64_t k = 0; k < keep; ++k)
      acc = acc * 10 + static_cast<std::uint64_t>(d->digits[k] - '0');
    // When n + shift < 0 the dropped part is below a tenth of the last place: it rounds down.
    if (n + shift >= 0) {
      const char first = d->digits[keep];
      bool rest_nonzero = false;
      for (std::int64_t k = keep + 1; k < n; ++k) rest_nonzero |= d->digits[k] != '0';
      if (first > '5' || (first == '5' && (rest_nonzero || (acc & 1) != 0))) ++acc;
    }
  }
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (acc > kMax + (d->negative ? 1 : 0)) Overflow();
  if (d->negative) return Currency::FromScaled(static_cast<std::int64_t>(0 - acc));
  return Currency::FromScaled(static_cast<std::int64_t>(acc));
}

bool ToBoolean(const Variant& v, const LocaleData& loc) {
  switch (v.type()) {
    case VarType::kEmpty: return false;
    case VarType::kNull: NullUse();
    case VarType::kByte: return v.byte() != 0;
    case VarType::kInteger: return v.integer() != 0;
    case VarType::kLong: return v.long_value() != 0;
    case VarType::kCurrency: return v.currency().scaled() != 0;
    case VarType::kDouble: return v.dbl() != 0;
    case VarType::kDate: return v.date().serial != 0;
    case VarType::kBoolean: return v.boolean();
    case VarType::kText: {
      const auto t = TrimBlanks(v.text());
      if (SameName(t, u"True") || SameName(t, u"Verdadero")) return true;
      if (SameName(t, u"False") || SameName(t, u"Falso")) return false;
      if (auto n = ParseNumber(t, loc)) return *n != 0;
      Mismatch();
    }
    case VarType::kMissing:
    case VarType::kObject: break;
  }
  Mismatch();
}

double ToDouble(const Variant& v, const LocaleData& loc) {
  switch (v.type()) {
    case VarType::kEmpty: return 0;
    case VarType::kNull: NullUse();
    case VarType::kByte: return v.byte();
    case VarType::kInteger: return v.integer();
    case VarType::kLong: return v.long_value();
    case VarType::kCurrency: return v.currency().ToDouble();
    case VarType::kDouble: return v.dbl();
    case VarType::kDate: return v.date().serial;
    case VarType::kBoolean: return v.boolean() ? -1 : 0;
    case VarType::kText:
      if (auto n = ParseNumber(v.text(), loc)) return *n;
      Mismatch();
    case VarType::kMissing:
    case VarType::kObject: break;
  }
  Mismatch();
}

namespace {

template <typename Int>
Int ToWhole(const Variant& v, const LocaleData& loc) {
  std::int64_t w = 0;
  switch (v.type()) {
    case VarType::kCurrency: w = v.currency().RoundEven(); break;
    case VarType::kByte: w = v.byte(); break;
    case VarType::kInteger: w = v.integer(); break;
    case VarType::kLong: w = v.long_value(); break;
    case VarType::kBoolean: w = v.boolean() ? -1 : 0; break;
    default: {
      const double d = std::nearbyint(ToDouble(v, loc));
      if (!(d >= static_cast<double>(std::numeric_limits<Int>::min()) &&
            d <= static_cast<double>(std::numeric_limits<Int>::max())))
        Overflow();
      return static_cast<Int>(d);
    }
  }
  if (w < std::numeric_limits<Int>::min() || w > std::numeric_limits<Int>::max()) Overflow();
  return static_cast<Int>(w);
}

}  // namespace

std::uint8_t ToByte(const Variant& v, const LocaleData& loc) {
  return ToWhole<std::uint8_t>(v, loc);
}
std::int16_t ToInteger(const Variant& v, const LocaleData& loc) {
  return ToWhole<std::int16_t>(v, loc);
}
std::int32_t ToLong(const Variant& v, const LocaleData& loc) {
  return ToWhole<std::int32_t>(v, loc);
}

Currency ToCurrency(const Variant& v, const LocaleData& loc) {
  switch (v.type()) {
    case VarType::kCurrency: return v.currency();
    case VarType::kByte: return Currency::FromWhole(v.byte());
    case VarType::kInteger: return Currency::FromWhole(v.integer());
    case VarType::kLong: return Currency::FromWhole(v.long_value());
    case VarType::kBoolean: return Currency::FromWhole(v.boolean() ? -1 : 0);
    case VarType::kText:
      if (auto c = ParseCurrency(v.text(), loc)) return *c;
      Mismatch();
    default: return Currency::FromDouble(ToDouble(v, loc));
  }
}

Date ToDate(const Variant& v, const LocaleData& loc) {
  if (v.is(VarType::kDate)) return v.date();
  if (v.is(VarType::kText)) {
    if (auto d = ParseDate(v.text(), loc)) return *d;
    Mismatch();
  }
  const Date d{ToDouble(v, loc)};
  if (!IsValidDate(d)) Overflow();
  return d;
}

std::u16string ToText(const Variant& v, const LocaleData& loc) {
  switch (v.type()) {
    case VarType::kEmpty: return {};
    case VarType::kNull: NullUse();
    case VarType::kByte: return Widen(std::to_string(v.byte()));
    case VarType::kInteger: return Widen(std::to_string(v.integer()));
    case VarType::kLong: return Widen(std::to_string(v.long_value()));
    case VarType::kCurrency: return FormatCurrency(v.currency(), loc);
    case VarType::kDouble: return FormatDouble(v.dbl(), loc);
    case VarType::kDate: return FormatDateText(v.date(), loc);
    case VarType::kText: return v.text();
    case VarType::kBoolean: return v.boolean() ? u"True" : u"False";
    case VarType::kMissing:
    case VarType::kObject: break;
  }
  Mismatch();
}

ObjectRef ToObject(const Variant& v) {
  if (v.is(VarType::kObject) && v.object()) return v.object();
  throw Error(err::kObjectRequired);
}

bool IsDateValue(const Variant& v, const LocaleData& loc) {
  if (v.is(VarType::kDate)) return true;
  return v.is(VarType::kText) && ParseDate(v.text(), loc).has_value();
}

namespace {

std::string GeneralDigits(double value) {
  if (value == 0) return "0";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  // "1e+15" -> "1E+15", "1e-05" stays two exponent digits as the runtime writes them.
  for (auto& c : s) {
    if (c == 'e') c = 'E';
  }
  return s;
}

}  // namespace

std::u16string FormatDouble(double value, const LocaleData& loc) {
  std::u16string out = Widen(GeneralDigits(value));
  for (auto& c : out) {
    if (c == u'.') c = loc.decimal_mark;
  }
  return out;
}

std::u16string DecimalRewrite(double value) {
  std::u16string out = Widen(GeneralDigits(value));
  if (!(value < 0)) out.insert(out.begin(), u' ');
  return out;
}

std::u16string FormatCurrency(Currency value, const LocaleData& loc) {
  const std::int64_t s = value.scaled();
  const bool neg = s < 0;
  // Work on the unsigned magnitude: -INT64_MIN does not fit a signed value.
  const std::uint64_t mag = neg ? 0 - static_cast<std::uint64_t>(s) : static_cast<std::uint64_t>(s);
  std::string out = neg ? "-" : "";
  out += std::to_string(mag / 10'000);
  std::uint64_t frac = mag % 10'000;
  if (frac != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(frac));
    std::string f = buf;
    while (f.back() == '0') f.pop_back();
    out += '.';
    out += f;
  }
  std::u16string w = Widen(out);
  for (auto& c : w) {
    if (c == u'.') c = loc.decimal_mark;
  }
  return w;
}

const char* TypeName(VarType type) {
  switch (type) {
    case VarType::kEmpty: return "Empty";
    case VarType::kNull: return "Null";
    case VarType::kMissing: return "Error";
    case VarType::kByte: return "Byte";
    case VarType::kInteger: return "Integer";
    case VarType::kLong: return "Long";
    case VarType::kCurrency: return "Currency";
    case VarType::kDouble: return "Double";
    case VarType::kDate: return "Date";
    case VarType::kText: return "String";
    case VarType::kBoolean: return "Boolean";
    case VarType::kObject: return "Object";
  }
  return "Unknown";
}

}  // namespace velmora
