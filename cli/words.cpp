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
  const auto parsed = ParseIsoDateTime(body);
  if (!parsed) throw SyntaxError("bad date literal: #" + ToUtf8(body) + "#");
  // A time alone is a time of day 0, 30 December 1899.
  return Variant(MakeDate(parsed->date.value_or(CivilDate{}), parsed->time.value_or(CivilTime{})));
}

}  // namespace

std::optional<IsoDateTime> ParseIsoDateTime(std::u16string_view text) {
  if (auto t = TimeLiteral(text)) return IsoDateTime{std::nullopt, *t};
  CivilDate d;
  if (text.size() < 10 || text[4] != u'-' || text[7] != u'-' || !Digits(text, 0, 4, d.year) ||
      !Digits(text, 5, 2, d.month) || !Digits(text, 8, 2, d.day))
    return std::nullopt;
  if (d.year < 100 || d.month < 1 || d.month > 12 || d.day < 1 ||
      CivilFromDays(DaysFromCivil(d)) != d)
    return std::nullopt;
  if (text.size() == 10) return IsoDateTime{d, std::nullopt};
  if (text[10] != u' ' && text[10] != u'T') return std::nullopt;
  const auto t = TimeLiteral(text.substr(11));
  if (!t) return std::nullopt;
  return IsoDateTime{d, *t};
}

void SplitLine(std::u16string_view line, std::vector<std::u16string>& words) {
  std::size_t count = 0;
  auto next_word = [&]() -> std::u16string& {
    if (count == words.size()) words.emplace_back();
    std::u16string& w = words[count++];
    w.clear();
    return w;
  };
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
  std::size_t i = 0;
  while (i < line.size()) {
    const char16_t c = line[i];
    if (blank(c)) {
      ++i;
      continue;
    }
    if (c == u'\'') break;  // a comment to the end of the line
    std::u16string& w = next_word();
    if (c == u'#') {
      // A date literal: to the closing "#", blanks included; without one, an ordinary word.
      const std::size_t close = line.find(u'#', i + 1);
      if (close != std::u16string_view::npos) {
        w.assign(line.substr(i, close + 1 - i));
        i = close + 1;
        if (i == line.size() || blank(line[i]) || line[i] == u'\'') continue;
        // Text right after the closing "#" belongs to the same word, as before.
      }
    }
    bool quoted = false;
    while (i < line.size()) {
      if (quoted) {
        // To the closing quote; a doubled quote is one quote inside the text.
        const std::size_t q = line.find(u'"', i);
        if (q == std::u16string_view::npos) break;
        w.append(line.substr(i, q + 1 - i));
        i = q + 1;
        if (i < line.size() && line[i] == u'"') w.push_back(line[i++]);
        else quoted = false;
        continue;
      }
      std::size_t end = i;
      while (end < line.size() && !blank(line[end]) && line[end] != u'\'' && line[end] != u'"')
        ++end;
      w.append(line.substr(i, end - i));
      i = end;
      if (i == line.size() || line[i] != u'"') break;
      w.push_back(line[i++]);
      quoted = true;
    }
    if (quoted) throw SyntaxError("unclosed quote");
  }
  words.resize(count);
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
