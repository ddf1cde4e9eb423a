#include "options.h"

#include <cstdio>
#include <string_view>

#include "output.h"
#include "words.h"

namespace velmora::cli {

namespace {

std::optional<Date> ParseNow(const std::string& s) {
  CivilDate d;
  CivilTime t;
  char extra = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &d.year, &d.month, &d.day, &t.hour,
                  &t.minute, &t.second, &extra) != 6)
    return std::nullopt;
  if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1 ||
      CivilFromDays(DaysFromCivil(d)) != d || t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  return MakeDate(d, t);
}

enum class Takes { kNothing, kValue };

struct Spec {
  std::string_view name;
  Takes takes;
};

constexpr Spec kOptions[] = {
    {"--locale", Takes::kValue},    {"--now", Takes::kValue},
    {"--script", Takes::kValue},    {"--json", Takes::kNothing},
    {"--list", Takes::kNothing},    {"--help", Takes::kNothing},
    {"--version", Takes::kNothing}, {"--line-buffered", Takes::kNothing},
};

}  // namespace

Options ParseOptions(int argc, const char* const* argv) {
  Options o;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (options_ended || word.size() <= 2 || word.substr(0, 2) != "--") {
      if (word == "--") options_ended = true;
      else o.operands.emplace_back(word);
      continue;
    }
    const std::size_t eq = word.find('=');
    const std::string_view name = word.substr(0, eq);
    const Spec* spec = nullptr;
    for (const auto& s : kOptions) {
      if (s.name == name) spec = &s;
    }
    if (spec == nullptr) throw SyntaxError("unknown option '" + Printable(name) + "'");
    std::string value;
    if (spec->takes == Takes::kValue) {
      if (eq != std::string_view::npos) {
        value = word.substr(eq + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        throw SyntaxError("option '" + std::string(name) + "' needs a value");
      }
    } else if (eq != std::string_view::npos) {
      throw SyntaxError("option '" + std::string(name) + "' takes no value");
    }
    if (name == "--locale") {
      o.locale = value;
    } else if (name == "--now") {
      o.now = ParseNow(value);
      if (!o.now)
        throw SyntaxError("--now wants YYYY-MM-DDTHH:MM:SS, not '" + Printable(value) + "'");
    } else if (name == "--script") {
      o.script = value;
    } else if (name == "--json") {
      o.json = true;
    } else if (name == "--list") {
      o.list = true;
    } else if (name == "--help") {
      o.help = true;
    } else if (name == "--version") {
      o.version = true;
    } else {
      o.line_buffered = true;
    }
  }
  return o;
}

}  // namespace velmora::cli
