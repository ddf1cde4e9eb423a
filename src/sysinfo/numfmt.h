// The number layouts of the system windows: whole numbers and two-decimal figures grouped by
// thousands with the locale's marks, rounded as a layout rounds (halves away from zero).
#pragma once

#include <cstdint>
#include <string>

#include "velmora/currency.h"
#include "velmora/locale.h"

namespace velmora::sysinfo_detail {

// "###,###,##0" and its longer twins: FormatWhole(1234567.5) == "1,234,568".
std::u16string FormatWhole(double value, const LocaleData& loc);
std::u16string FormatWhole(Currency value, const LocaleData& loc);
// "#,###,###,##0.#0": exactly two decimals, FormatTwoDecimals(976.5615) == "976.56".
std::u16string FormatTwoDecimals(Currency value, const LocaleData& loc);
// Plain decimal forms of integers, as the windows write counts and codes.
std::u16string Decimal(std::int64_t value);
std::u16string Decimal(std::uint64_t value);
std::u16string Decimal(std::int32_t value);
std::u16string Decimal(std::uint32_t value);

// A byte count as currency; a count past the currency range (some 922 TB) stays at its top.
Currency BytesToCurrency(std::uint64_t bytes);

}  // namespace velmora::sysinfo_detail
