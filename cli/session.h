// One Dolva and one APIs on which the command line's calls run, and how their results print.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "output.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora::cli {

// How one call or script line ended, in the order of the exit statuses.
enum class Outcome { kOk = 0, kRuntimeError = 1, kMistake = 2 };
inline Outcome Worse(Outcome a, Outcome b) { return a > b ? a : b; }

// Where a script line came from, for its diagnostics ("calls.vsc:12: ...").
struct Where {
  std::string file;  // "-" for standard input
  long line = 0;
};

struct SessionOptions {
  bool json = false;
};

class Session {
 public:
  Session(SessionOptions options, std::shared_ptr<Services> services, Output& out);

  // Calls `method` with the arguments; `where` is null for the call of the command line itself.
  // A name that is no operation is a mistake, reported with a suggestion when one is close.
  Outcome Call(const std::u16string& method, std::vector<Argument>& args, const Where* where);
  // Writes a public field by name ("Name = value" in a script).
  Outcome Assign(std::u16string_view field, const Variant& value, const Where* where);
  // Whether a name is a field that can be written.
  static bool IsField(std::u16string_view name);

  // A line on standard error, prefixed with "velmora: " or with the script's "FILE:LINE: ".
  void Diagnose(const Where* where, std::string_view message);

 private:
  // A name resolved to its table entry and the instance it runs on.
  struct Target {
    const Operation* op = nullptr;
    void* self = nullptr;
  };
  std::optional<Target> Resolve(const std::u16string& name);
  void Report(const Variant& result, const std::vector<Argument>& args, const Error* error,
              const Where* where);

  SessionOptions options_;
  std::shared_ptr<Services> services_;
  Output& out_;
  Dolva dolva_;
  APIs apis_;
  // Each distinct name is looked up once: a script names its routines on every line.
  std::unordered_map<std::u16string, Target> targets_;
};

// The operation a mistyped name most likely meant: a method or property whose name is at most
// two edits away (letters inserted, removed, changed or two swapped), ignoring case, and no more
// than one edit for every three letters of the name; the closest wins, the first in slot order
// among equals. Empty when none is that close: Suggestion(u"NumRomno") == u"NumRomano".
std::u16string_view Suggestion(std::u16string_view name);

}  // namespace velmora::cli
