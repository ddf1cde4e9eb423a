// Fixed-point money: a 64-bit count of ten-thousandths.
#pragma once

#include <compare>
#include <cstdint>

namespace velmora {

// An amount held exactly as a count of 1/10 000 units. Arithmetic that leaves the 64-bit range
// raises the overflow error (6), as the automation runtime's currency arithmetic does.
class Currency {
 public:
  static constexpr std::int64_t kScale = 10'000;

  constexpr Currency() = default;
  // Currency::FromScaled(12'345) is 1.2345.
  static constexpr Currency FromScaled(std::int64_t scaled) {
    Currency c;
    c.scaled_ = scaled;
    return c;
  }
  // Currency::FromWhole(15) is 15.0000; out of range raises 6.
  static Currency FromWhole(std::int64_t whole);
  // Rounds to four decimals, halves to even; out of range or not finite raises 6.
  static Currency FromDouble(double value);

  constexpr std::int64_t scaled() const { return scaled_; }
  double ToDouble() const { return static_cast<double>(scaled_) / kScale; }
  // The largest whole number not above the amount: Floor(-1.5) == -2.
  std::int64_t Floor() const;
  // Rounded to a whole number, halves to even: 2.5 -> 2, 3.5 -> 4.
  std::int64_t RoundEven() const;

  friend Currency operator+(Currency a, Currency b);
  friend Currency operator-(Currency a, Currency b);
  friend Currency operator*(Currency a, Currency b);
  friend constexpr auto operator<=>(Currency a, Currency b) = default;

 private:
  std::int64_t scaled_ = 0;  // [INT64_MIN, INT64_MAX] ten-thousandths
};

}  // namespace velmora
