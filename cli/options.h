// The command line's options, read as GNU programs read theirs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "velmora/date.h"

namespace velmora::cli {

struct Options {
  std::optional<std::string> locale;  // as given; checked against ICU's locales later
  std::optional<Date> now;
  std::optional<std::string> script;
  bool json = false;
  bool list = false;
  bool help = false;
  bool version = false;
  bool line_buffered = false;
  // The method and its arguments, in order, options taken out.
  std::vector<std::string> operands;
};

// Options may come anywhere, before or after the method and its arguments; a value follows its
// option as the next word or after "=" ("--locale en_US", "--locale=en_US"); "--" ends the
// options, so what follows is an argument even when it starts with "--". Any other word that
// starts with "--" is an unknown option. A single "-" word ("-1", "-") is an argument: negative
// numbers are common arguments. Raises SyntaxError naming the mistake.
Options ParseOptions(int argc, const char* const* argv);

}  // namespace velmora::cli
