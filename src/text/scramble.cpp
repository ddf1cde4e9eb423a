#include "velmora/scramble.h"

#include <array>
#include <string>

#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

// Characters of the codes 0x80 to 0x9F; every other code is the character of the same number.
constexpr std::array<char16_t, 32> kHighCodes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

// Adds (direction +1) or subtracts (-1) the offset of each position; a code leaving 0..255
// cannot be written and fails the call.
std::u16string Shift(const std::u16string& text, int direction) {
  std::u16string out(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // i counts from 0: even i are the odd positions 1, 3, 5...
    const int offset = i % 2 == 0 ? kScrambleOddOffset : kScrambleEvenOffset;
    const int code = Windows1252Code(text[i]) + direction * offset;  // [-99, 354]
    if (code < 0 || code > 255) throw Error(err::kInvalidCall);
    out[i] = Windows1252Char(static_cast<std::uint8_t>(code));
  }
  return out;
}

}  // namespace

std::uint8_t Windows1252Code(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
  for (std::size_t i = 0; i < kHighCodes.size(); ++i) {
    if (kHighCodes[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  }
  return u'?';
}

char16_t Windows1252Char(std::uint8_t code) {
  if (code >= 0x80 && code <= 0x9F) return kHighCodes[code - 0x80];
  return code;
}

std::u16string Dolva::Encripta(const std::u16string& Campo) { return Shift(Campo, +1); }

std::u16string Dolva::DesEncripta(const std::u16string& Campo) { return Shift(Campo, -1); }

}  // namespace velmora
