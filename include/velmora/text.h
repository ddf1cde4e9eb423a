// Text and number helpers: filling, centring, Roman numerals, parity.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Fills the text, trimmed of blanks at both ends, on the left with the first character of
// `fill` up to `length` characters; a text already as long or longer comes back trimmed, never
// shortened. An empty `fill` when filling is needed raises 5; a shortfall outside the 16-bit
// range raises 6. PadLeft(u"7", 3) == u"007"; PadLeft(u" 42 ", 5, u"*") == u"***42".
std::u16string PadLeft(std::u16string_view text, std::int16_t length, std::u16string_view fill = u"0");

}  // namespace velmora
