#include <algorithm>
#include <array>
#include <string>

#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/text.h"

namespace velmora {

namespace {

// One table per decimal position, indexed by the digit; thousands stop at 3.
constexpr std::array<std::u16string_view, 10> kRomanUnits = {u"",  u"I",  u"II",  u"III",  u"IV",
                                                             u"V", u"VI", u"VII", u"VIII", u"IX"};
constexpr std::array<std::u16string_view, 10> kRomanTens = {u"",  u"X",  u"XX",  u"XXX",  u"XL",
                                                            u"L", u"LX", u"LXX", u"LXXX", u"XC"};
constexpr std::array<std::u16string_view, 10> kRomanHundreds = {
    u"", u"C", u"CC", u"CCC", u"CD", u"D", u"DC", u"DCC", u"DCCC", u"CM"};
constexpr std::array<std::u16string_view, 4> kRomanThousands = {u"", u"M", u"MM", u"MMM"};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string RomanNumeral(std::int16_t value) {
  if (value < 0 || value > 3999) return Widen(std::to_string(value));
  std::u16string out;
  out += kRomanThousands[static_cast<std::size_t>(value / 1000)];
  out += kRomanHundreds[static_cast<std::size_t>(value / 100 % 10)];
  out += kRomanTens[static_cast<std::size_t>(value / 10 % 10)];
  out += kRomanUnits[static_cast<std::size_t>(value % 10)];
  return out;
}

std::u16string CenterText(std::u16string_view text, std::int16_t width) {
  const std::u16string_view trimmed = TrimBlanks(text);
  // Wide arithmetic: a long text and a negative width must not wrap into a huge margin.
  const std::int64_t leftover = static_cast<std::int64_t>(width) -
                                static_cast<std::int64_t>(trimmed.size());  // [-2^32, 32767]
  const std::size_t margin = leftover > 0 ? static_cast<std::size_t>(leftover / 2) : 0;
  std::u16string out;
  out.reserve(trimmed.size() + 2 * margin);
  out.append(margin, u' ');
  out += trimmed;
  out.append(margin, u' ');
  return out;
}

std::u16string ReversedText(std::u16string_view text) {
  std::u16string out(text.rbegin(), text.rend());
  // A pair came out low unit first; put each back high unit first.
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    if (IsLowSurrogate(out[i]) && IsHighSurrogate(out[i + 1])) {
      std::swap(out[i], out[i + 1]);
      ++i;
    }
  }
  return out;
}

std::u16string Dolva::NumRomano(std::int16_t& Valor_1_a_3999) {
  return RomanNumeral(Valor_1_a_3999);
}

std::u16string Dolva::Centra_Textos(const std::u16string& Texto, std::int16_t Longitud) {
  return CenterText(Texto, Longitud);
}

void Dolva::ReverseName() { Name = ReversedText(Name); }

bool Dolva::EsNumeroPar(std::int16_t& Num) { return (Num & 1) == 0; }

}  // namespace velmora
