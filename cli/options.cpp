#include "options.h"

#include <string_view>

#include "output.h"
#include "velmora/utf.h"
#include "words.h"

namespace velmora::cli {

namespace {

// --now takes a date with its time.
std::optional<Date> ParseNow(const std::string& s) {
  const auto parsed = ParseIsoDateTime(FromUtf8(s));
  if (!parsed || !parsed->date || !parsed->time) return std::nullopt;
  return MakeDate(*parsed->date, *parsed->time);
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
