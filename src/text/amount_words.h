// The wording of amounts behind Dolva::Letras and AmountInWords: both faces resolve their
// options to the texts below and hand them to one of the two wordings, so each wording is
// written once.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "velmora/coerce.h"
#include "velmora/currency.h"
#include "velmora/locale.h"

namespace velmora::amount_detail {

// The options of a wording, every text already chosen: what the caller gave, or what its
// currency stands for.
struct AmountText {
  bool money = true;
  bool upper = true;
  bool parentheses = false;
  bool show_figure = false;
  bool figure_inside = false;
  std::u16string_view symbol = u"$";
  // The currency noun for one unit. The legacy wording makes the plural by adding "s"; the
  // modern wording takes `plural` as it stands.
  std::u16string_view singular = u"Peso";
  std::u16string_view plural;
  std::u16string_view mark = u"M.N.";
};

// The historical wording, quirks included: "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100
// M.N.". A negative amount raises 13 and an amount of 10^12 or more raises 6.
std::u16string LegacyWords(Currency amount, const AmountText& text, const LocaleData& loc);

// Standard Spanish cardinals in the layout of today's money documents: "MIL DOSCIENTOS TREINTA
// Y CUATRO PESOS 50/100 M.N.". A negative amount raises 5.
std::u16string ModernWords(Currency amount, const AmountText& text, const LocaleData& loc);

// A word in a fixed slot: copying a whole slot is one fixed-size move, cheaper than a copy of
// the word's own length; the writer then advances by the length.
struct Word {
  static constexpr std::size_t kSlot = 16;
  std::array<char16_t, kSlot> units{};
  std::size_t size = 0;
};

consteval Word ToWord(std::u16string_view text) {
  if (text.size() > Word::kSlot) throw "a word longer than its slot";
  Word w;
  for (std::size_t i = 0; i < text.size(); ++i) w.units[i] = text[i];
  w.size = text.size();
  return w;
}

template <std::size_t N>
consteval std::array<Word, N> ToWords(const std::array<std::u16string_view, N>& texts) {
  std::array<Word, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = ToWord(texts[i]);
  return out;
}

// Writes a result into a buffer sized beforehand: a wording is bounded, so the text is built
// without growing and copied out once.
class Writer {
 public:
  explicit Writer(char16_t* buffer) : begin_(buffer), end_(buffer) {}

  void Put(std::u16string_view text) { end_ = std::copy(text.begin(), text.end(), end_); }
  // Needs a whole slot of room past the word's end.
  void Put(const Word& word) {
    std::memcpy(end_, word.units.data(), sizeof word.units);
    end_ += word.size;
  }
  void Put(char16_t c) { *end_++ = c; }
  // A caller's text, in capitals when asked.
  void Put(std::u16string_view text, bool upper) {
    if (!upper) return Put(text);
    for (const char16_t c : text) {
      // Plain letters inline; the rest through the library's one-to-one upper-casing.
      *end_++ =
          c < 0x80 ? (c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c) : UpperChar(c);
    }
  }
  std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }
  // Removes the blanks at both ends of what was written from `from` on.
  void TrimFrom(std::size_t from) {
    char16_t* first = begin_ + from;
    while (end_ > first && end_[-1] == u' ') --end_;
    char16_t* lead = first;
    while (lead < end_ && *lead == u' ') ++lead;
    end_ = std::copy(lead, end_, first);
  }
  std::u16string Text() const { return {begin_, end_}; }

 private:
  char16_t* begin_;
  char16_t* end_;
};

// A result buffer on the stack when the result fits, else on the heap.
class ResultBuffer {
 public:
  explicit ResultBuffer(std::size_t room) {
    if (room > local_.size()) large_.resize(room);
  }
  char16_t* data() { return large_.empty() ? local_.data() : large_.data(); }

 private:
  std::array<char16_t, 512> local_;
  std::u16string large_;
};

// Room for a figure besides its symbol: "-", the blank after the symbol, 19 digits, 6 group
// marks, the decimal mark and two decimals.
constexpr std::size_t kFigureRoom = 32;

// Writes the figure for the layout "#,###,###,###,###,##0.00" (with the symbol and a blank in
// front for money), trimmed of blanks at both ends: two decimals, halves away from zero.
void PutFigure(Writer& out, std::int64_t scaled, std::u16string_view symbol, bool money,
               const LocaleData& loc, bool upper);

// Writes the opening decoration (figure and parentheses) before the words.
void PutOpening(Writer& out, std::int64_t scaled, const AmountText& text, const LocaleData& loc);

}  // namespace velmora::amount_detail
