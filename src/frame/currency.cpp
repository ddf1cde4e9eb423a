#include "velmora/currency.h"

#include <cmath>
#include <limits>

#include "velmora/error.h"

namespace velmora {

namespace {

// Divides rounding halves to the even neighbour; b > 0.
std::int64_t DivRoundEven(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  std::int64_t r = a % b;
  if (r < 0) {  // make the remainder non-negative: q*b + r == a, 0 <= r < b
    r += b;
    --q;
  }
  if (2 * r > b || (2 * r == b && (q & 1) != 0)) ++q;
  return q;
}

}  // namespace

Currency Currency::FromWhole(std::int64_t whole) {
  std::int64_t scaled = 0;
  if (__builtin_mul_overflow(whole, kScale, &scaled)) throw Error(err::kOverflow);
  return FromScaled(scaled);
}

Currency Currency::FromDouble(double value) {
  const double scaled = value * static_cast<double>(kScale);
  // 2^63 is the first double past the range; anything at or beyond it overflows.
  if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
    throw Error(err::kOverflow);
  return FromScaled(static_cast<std::int64_t>(std::nearbyint(scaled)));
}

std::int64_t Currency::Floor() const {
  std::int64_t q = scaled_ / kScale;
  if (scaled_ % kScale < 0) --q;
  return q;
}

std::int64_t Currency::RoundEven() const { return DivRoundEven(scaled_, kScale); }

Currency operator+(Currency a, Currency b) {
  std::int64_t r = 0;
  if (__builtin_add_overflow(a.scaled_, b.scaled_, &r)) throw Error(err::kOverflow);
  return Currency::FromScaled(r);
}

Currency operator-(Currency a, Currency b) {
  std::int64_t r = 0;
  if (__builtin_sub_overflow(a.scaled_, b.scaled_, &r)) throw Error(err::kOverflow);
  return Currency::FromScaled(r);
}

Currency operator*(Currency a, Currency b) {
  // The exact product has eight decimals and may need 126 bits: multiply the magnitudes in
  // 32-bit limbs, divide by 10 000 limb by limb, then round halves to even. (No 128-bit type:
  // the 32-bit Windows build has none.)
  const bool negative = (a.scaled_ < 0) != (b.scaled_ < 0);
  auto mag = [](std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  const std::uint64_t x = mag(a.scaled_), y = mag(b.scaled_);
  const std::uint64_t x0 = x & 0xFFFFFFFF, x1 = x >> 32, y0 = y & 0xFFFFFFFF, y1 = y >> 32;
  std::uint64_t limb[4] = {};  // little-endian 32-bit limbs of x*y
  auto add_at = [&](int at, std::uint64_t v) {
    for (int i = at; i < 4 && v != 0; ++i) {
      const std::uint64_t sum = limb[i] + (v & 0xFFFFFFFF);
      limb[i] = sum & 0xFFFFFFFF;
      v = (v >> 32) + (sum >> 32);
    }
  };
  add_at(0, x0 * y0);
  add_at(1, x0 * y1);
  add_at(1, x1 * y0);
  add_at(2, x1 * y1);
  std::uint64_t rem = 0;
  for (int i = 3; i >= 0; --i) {
    const std::uint64_t cur = (rem << 32) | limb[i];
    limb[i] = cur / Currency::kScale;
    rem = cur % Currency::kScale;
  }
  if (limb[3] != 0 || limb[2] != 0) throw Error(err::kOverflow);
  std::uint64_t q = (limb[1] << 32) | limb[0];
  if (2 * rem > Currency::kScale || (2 * rem == Currency::kScale && (q & 1) != 0)) ++q;
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (q > kMax + (negative ? 1 : 0)) throw Error(err::kOverflow);
  return Currency::FromScaled(negative ? static_cast<std::int64_t>(0 - q)
                                       : static_cast<std::int64_t>(q));
}

}  // namespace velmora
