#include <limits>

#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/text.h"

namespace velmora {

std::u16string PadLeft(std::u16string_view text, std::int16_t length, std::u16string_view fill) {
  const std::u16string_view trimmed = TrimBlanks(text);
  // The shortfall is 16-bit arithmetic: a text longer than 32 767 + length leaves the range.
  const std::int64_t shortfall = static_cast<std::int64_t>(length) -
                                 static_cast<std::int64_t>(trimmed.size());  // [-2^31, 32767]
  if (shortfall < std::numeric_limits<std::int16_t>::min()) throw Error(err::kOverflow);
  std::u16string out;
  if (shortfall > 0) {
    if (fill.empty()) throw Error(err::kInvalidCall);
    out.assign(static_cast<std::size_t>(shortfall), fill.front());
  }
  out += trimmed;
  return out;
}

std::u16string Dolva::StrZero(const std::u16string& sDat, std::int16_t iLen, Variant& sFill) {
  if (sFill.IsMissing()) return PadLeft(sDat, iLen);
  return PadLeft(sDat, iLen, ToText(sFill, locale()));
}

}  // namespace velmora
