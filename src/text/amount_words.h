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
  // Whether the three texts above are in the result's letter case already, as the ready
  // capitals of the defaults are, so that they are copied as they stand.
  bool cased = false;
};

// The historical wording, quirks included: "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100
// M.N.". A negative amount raises 13 and an amount of 10^12 or more raises 6.
std::u16string LegacyWords(Currency amount, const AmountText& text, const LocaleData& loc);

// Standard Spanish cardinals in the layout of today's money documents: "MIL DOSCIENTOS TREINTA
// Y CUATRO PESOS 50/100 M.N.". A negative amount raises 5.
std::u16string ModernWords(Currency amount, const AmountText& text, const LocaleData& loc);

// A word in a fixed slot: copying a whole slot is one fixed-size move, cheaper than a copy of
// the word's own length; the writer then advances by the length.
template <std::size_t N>
struct SlotWord {
  static constexpr std::size_t kSlot = N;
  std::array<char16_t, N> units{};
  std::size_t size = 0;
};

using Word = SlotWord<16>;

template <std::size_t N = Word::kSlot>
constexpr SlotWord<N> ToWord(std::u16string_view text) {
  if (text.size() > N) throw "a word longer than its slot";
  SlotWord<N> w;
  for (std::size_t i = 0; i < text.size(); ++i) w.units[i] = text[i];
  w.size = text.size();
  return w;
}

template <std::size_t N>
constexpr std::array<Word, N> ToWords(const std::array<std::u16string_view, N>& texts) {
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
  // A literal of the wording: a copy of known length, with no call.
  template <std::size_t N>
  void Put(const char16_t (&literal)[N]) {
    std::memcpy(end_, literal, (N - 1) * sizeof(char16_t));
    end_ += N - 1;
  }
  // Needs a whole slot of room past the word's end.
  template <std::size_t N>
  void Put(const SlotWord<N>& word) {
    std::memcpy(end_, word.units.data(), sizeof word.units);
    end_ += word.size;
  }
  void Put(char16_t c) { *end_++ = c; }
  void PutTwoDigits(int n) {  // n: [0, 99]
    end_[0] = static_cast<char16_t>(u'0' + n / 10);
    end_[1] = static_cast<char16_t>(u'0' + n % 10);
    end_ += 2;
  }
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
  // Removes the blanks at both ends of what was written from `from` on. Words never begin with
  // a blank, so the text moves only in the rare case of a caller's text that does and nothing
  // before it; with nothing written before `from`, the start moves instead.
  void TrimFrom(std::size_t from) {
    char16_t* first = begin_ + from;
    while (end_ > first && end_[-1] == u' ') --end_;
    char16_t* lead = first;
    while (lead < end_ && *lead == u' ') ++lead;
    if (lead == first) return;
    if (from == 0) begin_ = lead;
    else end_ = std::copy(lead, end_, first);
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
