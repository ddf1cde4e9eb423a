// Reading the command line's words into call arguments.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "velmora/dispatch.h"

namespace velmora::cli {

// A mistake in the command line itself (exit status 2), as opposed to a runtime error.
class SyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits a script line into words: blanks separate, a double-quoted run belongs to its word
// (quotes kept, so the word still reads as quoted). Raises SyntaxError on an open quote.
std::vector<std::u16string> SplitLine(std::u16string_view line);

// One word as an argument: "Name:=value" is named; a word in double quotes is text ("" inside
// is one "); #yyyy-mm-dd#, #yyyy-mm-dd hh:mm:ss# and #hh:mm:ss# are dates; Null and Empty are
// those values; any other word is text for the dispatch table to convert.
Argument ParseWord(std::u16string_view word);

}  // namespace velmora::cli
