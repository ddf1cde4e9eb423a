// The modern wording of amounts against ICU's Spanish spell-out, an independent cardinal
// speller: the words must be ICU's, but for the short forms before the currency noun.
#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/rbnf.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "velmora/amounts.h"
#include "velmora/utf.h"

namespace velmora {
namespace {

constexpr std::int64_t kLargestWhole = INT64_MAX / Currency::kScale;  // 922337203685477

std::u16string FromIcu(const icu::UnicodeString& s) {
  return {reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<std::size_t>(s.length())};
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

class IcuSpellout {
 public:
  IcuSpellout() : format_(icu::URBNF_SPELLOUT, spanish_, status_) {}
  bool ok() const { return U_SUCCESS(status_); }

  // ICU's cardinal in lower case, and the same with the short form a noun after it asks for,
  // in capitals.
  void Spell(std::int64_t n, std::u16string& lower, std::u16string& before_noun_upper) {
    text_.remove();
    format_.format(n, text_);
    // ICU marks hyphenation points inside some words ("nove\u00ADcientos"); they are not text.
    text_.findAndReplace(icu::UnicodeString(u'\u00AD'), icu::UnicodeString());
    lower = FromIcu(text_);
    icu::UnicodeString apocope = text_;
    if (EndsWith(lower, u"veintiuno")) {
      apocope.truncate(apocope.length() - 1);
      apocope.setCharAt(apocope.length() - 2, u'\u00FA');  // veintiún
    } else if (lower == u"uno" || EndsWith(lower, u" uno")) {
      apocope.truncate(apocope.length() - 1);  // un
    }
    before_noun_upper = FromIcu(apocope.toUpper(spanish_));
  }

 private:
  UErrorCode status_ = U_ZERO_ERROR;
  icu::Locale spanish_{"es"};
  icu::RuleBasedNumberFormat format_;
  icu::UnicodeString text_;
};

// Every integer below 2 000 000, a million more spread evenly over the number of digits up to
// the largest whole amount the currency holds, and round counts of every scale, where the
// short forms and "de" are decided.
std::vector<std::int64_t> Values() {
  std::vector<std::int64_t> values;
  values.reserve(3'000'000);
  for (std::int64_t n = 0; n < 2'000'000; ++n) values.push_back(n);
  std::mt19937_64 random(20260512);
  std::int64_t low = 1;
  for (int digits = 1; digits <= 15; ++digits, low *= 10) {
    const std::int64_t high = std::min(low * 10 - 1, kLargestWhole);
    std::uniform_int_distribution<std::int64_t> pick(low, high);
    const int count = digits == 15 ? 1'000'000 - 14 * 66'667 : 66'667;
    for (int i = 0; i < count; ++i) values.push_back(pick(random));
  }
  values.push_back(kLargestWhole);
  for (std::int64_t scale = 1000; scale <= 1'000'000'000'000; scale *= 1000) {
    for (std::int64_t count = 1; count < 2000 && count * scale <= kLargestWhole; ++count) {
      for (const std::int64_t extra : {0, 1, 21, 100}) values.push_back(count * scale + extra);
    }
  }
  return values;
}

TEST(AmountsIcu, ModernWordsAreIcuCardinals) {
  IcuSpellout icu;
  ASSERT_TRUE(icu.ok()) << "no Spanish spell-out rules in this ICU";
  const std::vector<std::int64_t> values = Values();
  ASSERT_GE(values.size(), 3'000'000u);
  const AmountOptions plain{.money = false, .upper = false, .wording = Wording::kModern};
  const AmountOptions money{.wording = Wording::kModern};
  std::u16string lower, before_noun;
  for (const std::int64_t n : values) {
    icu.Spell(n, lower, before_noun);
    const Currency amount = Currency::FromWhole(n);
    // A plain number is the cardinal itself.
    const std::u16string words = AmountInWordsUtf16(amount, plain);
    if (words != lower) FAIL() << n << ": " << ToUtf8(words) << " | ICU: " << ToUtf8(lower);
    // Money: the short form before the noun, "DE" after a count that ends in a noun itself.
    const bool ends_in_noun = EndsWith(lower, u"mill\u00F3n") || EndsWith(lower, u"millones") ||
                              EndsWith(lower, u"bill\u00F3n") || EndsWith(lower, u"billones");
    const std::u16string expected = before_noun + (ends_in_noun ? u" DE" : u"") +
                                    (n == 1 ? u" PESO" : u" PESOS") + u" 00/100 M.N.";
    const std::u16string text = AmountInWordsUtf16(amount, money);
    if (text != expected) FAIL() << n << ": " << ToUtf8(text) << " | expected " << ToUtf8(expected);
  }
}

}  // namespace
}  // namespace velmora
