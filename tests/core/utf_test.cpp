// UTF-8 at the edges: decoding and encoding, malformed input, and ASCII runs of every length
// around the blocks the conversions copy at once.
#include <gtest/gtest.h>

#include <string>

#include "velmora/utf.h"

namespace velmora {
namespace {

struct Decoding {
  std::string utf8;
  std::u16string utf16;
};

TEST(Utf, Decodes) {
  const Decoding cases[] = {
      {"", u""},
      {"Letras 1234.5", u"Letras 1234.5"},
      {"Nómina", u"N\u00F3mina"},
      {"\xE2\x82\xAC", u"\u20AC"},                        // three bytes
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},              // four bytes: a surrogate pair
      {"a\x80z", u"a\xFFFDz"},                            // a lone continuation byte
      {"a\xC3", u"a\xFFFD"},                              // cut at the end
      {"\xE2\x82z", u"\xFFFD\xFFFDz"},                    // cut short: each byte replaced
      {"\xC0\x80", u"\xFFFD\xFFFD"},                      // overlong: each byte replaced
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // past U+10FFFF
      {"\xFF", u"\xFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.utf8;
}

TEST(Utf, Encodes) {
  const Decoding cases[] = {
      {"", u""},
      {"M.N.", u"M.N."},
      {"Cámara Fotográfica", u"C\u00E1mara Fotogr\u00E1fica"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"\xEF\xBF\xBD"
       "a",
       u"\xD800"
       "a"},                          // a lone high surrogate
      {"a\xEF\xBF\xBD", u"a\xDC00"},  // a lone low surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.utf8;
}

// One accented letter at every place of ASCII texts up to three blocks long: the fast copy of
// the ASCII runs must hand over to the general coder at the right unit.
TEST(Utf, AsciiRunsOfEveryLength) {
  for (std::size_t before = 0; before <= 48; ++before) {
    for (std::size_t after : {0, 1, 15, 16, 17}) {
      const std::u16string text =
          std::u16string(before, u'a') + u"\u00F1" + std::u16string(after, u'b');
      const std::string utf8 = std::string(before, 'a') + "\xC3\xB1" + std::string(after, 'b');
      EXPECT_EQ(ToUtf8(text), utf8) << before << " " << after;
      EXPECT_EQ(FromUtf8(utf8), text) << before << " " << after;
    }
  }
}

TEST(Utf, AppendsToWhatIsThere) {
  std::string bytes = "x=";
  AppendUtf8(u"\u00F1", bytes);
  EXPECT_EQ(bytes, "x=\xC3\xB1");
  std::u16string units = u"x=";
  AppendUtf16("\xC3\xB1", units);
  EXPECT_EQ(units, u"x=\u00F1");
}

}  // namespace
}  // namespace velmora
