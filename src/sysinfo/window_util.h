// Arithmetic shared by the two system-information windows.
#pragma once

#include <cstdint>

namespace velmora::sysinfo_detail {

// A double rounded to a whole number, halves to even, as a 16-bit or 32-bit integer; 6 when it
// leaves the range.
std::int16_t RoundInteger(double value);
std::int32_t RoundLong(double value);

// part / whole kept within [0, 1]; 0 for a whole of 0. Figures read at different instants may
// disagree a little, and an empty system (no page file) has nothing to divide by.
double Share(double part, double whole);

}  // namespace velmora::sysinfo_detail
