// Conversions between decimal, binary, octal and hexadecimal notation.
//
// Four Dolva methods are primitives; the other five are built from them and from StrZero,
// called through the instance, so an error inside a primitive fails the composite call:
//
//   d.DecBin(10)            == u"1010"      halves a currency amount down to zero; 4.5 -> "101",
//                                            zero and negative amounts -> ""
//   d.DecOct(-1)            == u"37777777777"  32-bit two's complement, halves to even
//   d.DecHex(u"255")        == u"FF"        the text read as a number, rounded like DecOct;
//                                            not a number -> 13
//   d.BinDec(u"1010")       == u"10"        each character's digit value times its power of two
//                                            ("12" -> "4", blanks and letters count 0)
//   d.BinOct(u"11111111")   == u"377"       threes of the decimal rewriting of the text
//   d.BinHex(u"11111")      == u"1F"        fours of the text, blanks included in the count
//   d.OctBin(u"12")         == u" 1010"     three bits per digit, then the decimal rewriting:
//                                            leading zeros go, a blank comes in front
//   d.HexBin(u"1F")         == u"00011111"  four bits per digit, leading zeros kept
//   d.HexDec(u"FFFFFFFF")   == u"4294967295"  BinDec of HexBin
//
// At the edges:
// - DecOct and DecHex raise the overflow error 6 outside the 32-bit signed range.
// - BinDec works in double precision: a value past the largest double (a "1" followed by 1 024
//   more digits) raises 6; values from 10^15 on come in exponent form ("1E+15").
// - BinOct and OctBin carry their value through a decimal rewriting of 15 significant digits.
//   Rather than return digits that no longer match the input, they raise 6 when that value is
//   10^15 or more: BinOct with more than 15 significant binary digits, OctBin with more than
//   five significant octal digits.
// - BinOct fills the decimal rewriting of its text, leading blank included in the length, so a
//   group of zeros may lead: BinOct(u"111") == u"07".
// - BinOct and OctBin of the empty text raise 13 (the empty text is not a number); BinHex,
//   HexBin and HexDec of it give "", "" and "0".
// - BinHex fills through StrZero, whose length is 16-bit: a text of more than 32 764
//   characters raises 6.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The digits of a 32-bit value as its unsigned two's complement, in octal or in hexadecimal
// (upper case). Octal32(8) == u"10"; Octal32(-1) == u"37777777777"; Hex32(-1) == u"FFFFFFFF".
std::u16string Octal32(std::int32_t value);
std::u16string Hex32(std::int32_t value);

// The sum of each character's digit value (its value as a decimal digit, 0 for any other
// character) times two to the power of its distance from the end, in double precision; raises
// 6 past the double range. BinaryValue(u"1010") == 10.0; BinaryValue(u"12") == 4.0.
double BinaryValue(std::u16string_view digits);

}  // namespace velmora
