// Reading the command line's words into call arguments.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "velmora/date.h"
#include "velmora/dispatch.h"

namespace velmora::cli {

// A mistake in the command line itself (exit status 2), as opposed to a runtime error.
class SyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits a script line into `words` (reusing its strings): blanks separate, a double-quoted run
// belongs to its word (quotes kept, so the word still reads as quoted), a word that starts with
// "#" runs to the next "#" (a date literal keeps the blank between date and time), and "'"
// outside quotes starts a comment that runs to the end of the line. Raises SyntaxError on an
// open quote.
//   Name = "Ana Luz"  ' the user     -> Name, =, "Ana Luz"
//   Lapso #2009-01-01 08:00:00# #2009-03-15 17:30:00#  -> Lapso, #2009-01-01 08:00:00#, ...
void SplitLine(std::u16string_view line, std::vector<std::u16string>& words);

// A date and time written the ISO way: "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" (or with "T" for the
// blank) or "hh:mm:ss", every field with all its digits, the year from 100 to 9999. The parts
// the text has; nullopt for any other text or a day that does not exist:
//   u"2009-03-15T17:30:00" -> {2009-03-15, 17:30:00};  u"17:30:00" -> {no date, 17:30:00};
//   u"2009-02-30" -> nullopt;  u"2009-3-15" -> nullopt.
struct IsoDateTime {
  std::optional<CivilDate> date;
  std::optional<CivilTime> time;
};
std::optional<IsoDateTime> ParseIsoDateTime(std::u16string_view text);

// One word as an argument: "Name:=value" is named; a word in double quotes is text ("" inside
// is one "); #yyyy-mm-dd#, #yyyy-mm-dd hh:mm:ss# and #hh:mm:ss# are dates; Null and Empty are
// those values; any other word is text for the dispatch table to convert.
Argument ParseWord(std::u16string_view word);

}  // namespace velmora::cli
