#include "words.h"

#include "velmora/coerce.h"
#include "velmora/utf.h"

namespace velmora::cli {

namespace {

bool IsNameChar(char16_t c, bool first) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u'ñ' ||
         c == u'Ñ' || (!first && c >= u'0' && c <= u'9');
}

bool Digits(std::u16string_view s, std::size_t at, std::size_t n, int& out) {
  if (at + n > s.size()) return false;
  out = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    out = out * 10 + (s[i] - u'0');
  }
  return true;
}

std::optional<CivilTime> TimeLiteral(std::u16string_view s) {
  CivilTime t;
  if (s.size() != 8 || s[2] != u':' || s[5] != u':' || !Digits(s, 0, 2, t.hour) ||
      !Digits(s, 3, 2, t.minute) || !Digits(s, 6, 2, t.second) || t.hour > 23 || t.minute > 59 ||
      t.second > 59)
    return std::nullopt;
  return t;
}

Variant DateLiteral(std::u16string_view body) {
  auto bad = [&] { return SyntaxError("bad date literal: #" + ToUtf8(body) + "#"); };
  if (auto t = TimeLiteral(body)) return Variant(MakeDate({1899, 12, 30}, *t));
  CivilDate d;
  if (body.size() < 10 || body[4] != u'-' || body[7] != u'-' || !Digits(body, 0, 4, d.year) ||
      !Digits(body, 5, 2, d.month) || !Digits(body, 8, 2, d.day))
    throw bad();
  if (d.year < 100 || d.month < 1 || d.month > 12 || d.day < 1 ||
      CivilFromDays(DaysFromCivil(d)) != d)
    throw bad();
  CivilTime t;
  if (body.size() > 10) {
    if ((body[10] != u' ' && body[10] != u'T') || !TimeLiteral(body.substr(11))) throw bad();
    t = *TimeLiteral(body.substr(11));
  }
  return Variant(MakeDate(d, t));
}

}  // namespace

std::vector<std::u16string> SplitLine(std::u16string_view line) {
  std::vector<std::u16string> words;
  std::u16string cur;
  bool in_word = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted) {
      cur.push_back(c);
      if (c == u'"') {
        if (i + 1 < line.size() && line[i + 1] == u'"') {
          cur.push_back(line[++i]);
        } else {
          quoted = false;
        }
      }
    } else if (c == u' ' || c == u'\t' || c == u'\r') {
      if (in_word) words.push_back(std::move(cur));
      cur.clear();
      in_word = false;
    } else {
      in_word = true;
      cur.push_back(c);
      if (c == u'"') quoted = true;
    }
  }
  if (quoted) throw SyntaxError("unclosed quote in: " + ToUtf8(line));
  if (in_word) words.push_back(std::move(cur));
  return words;
}

Argument ParseWord(std::u16string_view word) {
  Argument a;
  if (!word.empty() && IsNameChar(word[0], true)) {
    std::size_t i = 1;
    while (i < word.size() && IsNameChar(word[i], false)) ++i;
    if (word.substr(i, 2) == u":=") {
      a.name = std::u16string(word.substr(0, i));
      word = word.substr(i + 2);
    }
  }
  if (word.size() >= 2 && word.front() == u'"' && word.back() == u'"') {
    std::u16string text;
    const auto body = word.substr(1, word.size() - 2);
    for (std::size_t i = 0; i < body.size(); ++i) {
      text.push_back(body[i]);
      if (body[i] == u'"' && i + 1 < body.size() && body[i + 1] == u'"') ++i;
    }
    a.value = Variant(std::move(text));
  } else if (word.size() >= 2 && word.front() == u'#' && word.back() == u'#') {
    a.value = DateLiteral(word.substr(1, word.size() - 2));
  } else if (SameName(word, u"Null")) {
    a.value = Variant::Null();
  } else if (SameName(word, u"Empty")) {
    a.value = Variant();
  } else {
    a.value = Variant(std::u16string(word));
  }
  return a;
}

}  // namespace velmora::cli
