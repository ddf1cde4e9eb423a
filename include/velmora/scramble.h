// A reversible scrambling of text, to keep stored texts out of plain sight.
//
// Dolva::Encripta adds a fixed offset to each character's Windows-1252 code, one offset for the
// odd positions (1, 3, 5...) and another for the even ones; Dolva::DesEncripta subtracts them.
// It is a fixed key built into the library, not a cipher. The result has the length of the
// argument and DesEncripta(Encripta(t)) == t for any Windows-1252 text that scrambles:
//
//   d.Encripta(u"Aa")  == u"X\u00AD"  ('A' 65 + 23 = 88 'X', 'a' 97 + 76 = 173 soft hyphen)
//   d.DesEncripta(u"X\u00AD") == u"Aa"
//
// A character outside Windows-1252 is taken as "?", as the code page's conversion makes it.
// Encripta raises 5 for a character whose code plus its offset passes 255 (plain ASCII always
// fits); DesEncripta raises 5 for a character whose code is below its offset.
#pragma once

#include <cstdint>

namespace velmora {

// The key. Texts scrambled by one build descramble only with the same pair, so these never
// change.
inline constexpr int kScrambleOddOffset = 23;   // positions 1, 3, 5...
inline constexpr int kScrambleEvenOffset = 76;  // positions 2, 4, 6...
static_assert(kScrambleOddOffset != kScrambleEvenOffset);
static_assert(kScrambleOddOffset >= 10 && kScrambleOddOffset <= 99);
static_assert(kScrambleEvenOffset >= 10 && kScrambleEvenOffset <= 99);
// Plain ASCII (up to '~', 126) must scramble at either parity.
static_assert(126 + kScrambleOddOffset <= 255 && 126 + kScrambleEvenOffset <= 255);

// The Windows-1252 code of a 16-bit character; a character the code page lacks is "?" (0x3F).
// The five codes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// U+0081, U+008D, U+008F, U+0090 and U+009D, so every code has exactly one character.
// Windows1252Code(u'\u20AC') == 0x80; Windows1252Code(u'\u00F1') == 0xF1;
// Windows1252Code(u'\u0100') == 0x3F.
std::uint8_t Windows1252Code(char16_t c);

// The character of a Windows-1252 code. Windows1252Char(0x80) == u'\u20AC'.
char16_t Windows1252Char(std::uint8_t code);

}  // namespace velmora
