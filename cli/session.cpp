#include "session.h"

#include <algorithm>
#include <cstdio>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/utf.h"

namespace velmora::cli {

namespace {

void AppendJsonString(std::u16string_view s, std::string& out) {
  out.push_back('"');
  std::size_t run = 0;  // the start of the text not yet appended
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c != u'"' && c != u'\\' && c >= 0x20) continue;
    AppendUtf8(s.substr(run, i - run), out);
    run = i + 1;
    switch (c) {
      case u'"': out += "\\\""; break;
      case u'\\': out += "\\\\"; break;
      case u'\n': out += "\\n"; break;
      case u'\r': out += "\\r"; break;
      case u'\t': out += "\\t"; break;
      default: {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
        out += buf;
      }
    }
  }
  AppendUtf8(s.substr(run), out);
  out.push_back('"');
}

void AppendIsoDate(Date d, std::string& out) {
  if (!IsValidDate(d)) {
    out += "null";
    return;
  }
  const auto dt = SplitDate(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "\"%04d-%02d-%02dT%02d:%02d:%02d\"", dt.date.year, dt.date.month,
                dt.date.day, dt.time.hour, dt.time.minute, dt.time.second);
  out += buf;
}

void AppendJsonValue(const Variant& v, std::string& out) {
  static const LocaleData kPlain = EnglishUnitedStates();  // "." marks for JSON numbers
  switch (v.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
    case VarType::kMissing: out += "null"; return;
    case VarType::kByte:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kCurrency:
    case VarType::kDouble: AppendUtf8(ToText(v, kPlain), out); return;  // "1E+15" is JSON too
    case VarType::kDate: AppendIsoDate(v.date(), out); return;
    case VarType::kText: AppendJsonString(v.text(), out); return;
    case VarType::kBoolean: out += v.boolean() ? "true" : "false"; return;
    case VarType::kObject: out += v.object() ? "\"[Object]\"" : "null"; return;
  }
  out += "null";
}

void AppendPlainValue(const Variant& v, const LocaleData& loc, std::string& out) {
  switch (v.type()) {
    case VarType::kEmpty: return;
    case VarType::kNull: out += "Null"; return;
    case VarType::kMissing: out += "Missing"; return;
    case VarType::kObject: out += v.object() ? "[Object]" : "Nothing"; return;
    case VarType::kText: AppendUtf8(v.text(), out); return;
    default: AppendUtf8(ToText(v, loc), out); return;
  }
}

// The name a written-back argument is reported under: its own name when it was named,
// otherwise its parameter's.
std::u16string_view WrittenName(const Argument& a) {
  return a.name.empty() ? a.param : std::u16string_view(a.name);
}

char16_t Fold(char16_t c) { return UpperChar(c); }

// Edits from one name to another, folding case: insertions, deletions, changes and swaps of two
// neighbours each count one.
std::size_t EditDistance(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  std::vector<std::size_t> prev2(m + 1), prev(m + 1), cur(m + 1);
  for (std::size_t j = 0; j <= m; ++j) prev[j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    cur[0] = i;
    for (std::size_t j = 1; j <= m; ++j) {
      const bool same = Fold(a[i - 1]) == Fold(b[j - 1]);
      cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) && Fold(a[i - 2]) == Fold(b[j - 1]))
        cur[j] = std::min(cur[j], prev2[j - 2] + 1);
    }
    std::swap(prev2, prev);
    std::swap(prev, cur);
  }
  return prev[m];
}

}  // namespace

std::u16string_view Suggestion(std::u16string_view name) {
  constexpr std::size_t kMaxEdits = 2;
  // Names far longer than any operation's are no typing slip; they need not be compared.
  if (name.size() > 64) return {};
  std::u16string_view best;
  std::size_t best_distance = kMaxEdits + 1;
  for (const auto& op : Surface()) {
    if (op.kind != Kind::kMethod && op.kind != Kind::kPropGet) continue;
    const std::size_t d = EditDistance(name, op.name);
    // At most one edit for every three letters typed: two edits in a four-letter word ("Nope",
    // "Name") make another word, not a slip.
    if (d < best_distance && 3 * d <= name.size()) {
      best = op.name;
      best_distance = d;
    }
  }
  return best;
}

Session::Session(SessionOptions options, std::shared_ptr<Services> services, Output& out)
    : options_(options),
      services_(std::move(services)),
      out_(out),
      dolva_(services_),
      apis_(services_) {}

void Session::Diagnose(const Where* where, std::string_view message) {
  std::string line;
  if (where != nullptr) {
    line = Printable(where->file) + ":" + std::to_string(where->line) + ": ";
  } else {
    line = "velmora: ";
  }
  line += message;
  out_.Diagnostic(line);
}

std::optional<Session::Target> Session::Resolve(const std::u16string& name) {
  if (auto it = targets_.find(name); it != targets_.end()) return it->second;
  Target t;
  if (const Operation* op = FindOperation(Interface::kDolva, name, Kind::kMethod)) {
    t = {op, &dolva_};
  } else if (const Operation* get = FindOperation(Interface::kDolva, name, Kind::kPropGet)) {
    t = {get, &dolva_};
  } else if (const Operation* api = FindOperation(Interface::kAPIs, name, Kind::kMethod)) {
    t = {api, &apis_};
  } else {
    return std::nullopt;
  }
  targets_.emplace(name, t);
  return t;
}

Outcome Session::Call(const std::u16string& method, std::vector<Argument>& args,
                      const Where* where) {
  const auto target = Resolve(method);
  if (!target) {
    Diagnose(where, "no method '" + Printable(ToUtf8(method)) + "' (see velmora --list)");
    if (const auto near = Suggestion(method); !near.empty())
      Diagnose(where, "did you mean " + ToUtf8(near) + "?");
    return Outcome::kMistake;
  }
  try {
    const Variant result = Invoke(target->self, *target->op, args);
    Report(result, args, nullptr, where);
    return Outcome::kOk;
  } catch (const Error& e) {
    Report({}, args, &e, where);
    return Outcome::kRuntimeError;
  }
}

Outcome Session::Assign(std::u16string_view field, const Variant& value, const Where* where) {
  try {
    PutField(dolva_, field, value);
    return Outcome::kOk;
  } catch (const Error& e) {
    const std::vector<Argument> none;
    Report({}, none, &e, where);
    return Outcome::kRuntimeError;
  }
}

bool Session::IsField(std::u16string_view name) {
  return FindOperation(Interface::kDolva, name, Kind::kPropPut) != nullptr ||
         FindOperation(Interface::kDolva, name, Kind::kPropPutRef) != nullptr;
}

void Session::Report(const Variant& result, const std::vector<Argument>& args, const Error* error,
                     const Where* where) {
  const LocaleData& loc = services_->locale;
  if (options_.json) {
    std::string& line = out_.buffer();
    line += '{';
    if (error != nullptr) {
      line += "\"error\": " + std::to_string(error->number()) + ", \"description\": ";
      AppendJsonString(error->description(loc.spanish), line);
      if (where != nullptr) line += ", \"line\": " + std::to_string(where->line);
    } else {
      line += "\"result\": ";
      AppendJsonValue(result, line);
    }
    bool first = true;
    for (const auto& a : args) {
      if (!a.written) continue;
      line += first ? ", \"byref\": {" : ", ";
      first = false;
      AppendJsonString(WrittenName(a), line);
      line += ": ";
      AppendJsonValue(a.value, line);
    }
    if (!first) line += '}';
    line += '}';
    out_.EndLine();
    return;
  }
  if (error != nullptr) {
    std::string message = "Error " + std::to_string(error->number()) + ": ";
    AppendUtf8(error->description(loc.spanish), message);
    if (where != nullptr) Diagnose(where, message);
    else out_.Diagnostic(message);
  } else if (!result.IsEmpty()) {
    AppendPlainValue(result, loc, out_.buffer());
    out_.EndLine();
  }
  for (const auto& a : args) {
    if (!a.written) continue;
    std::string& line = out_.buffer();
    AppendUtf8(WrittenName(a), line);
    line += " = ";
    AppendPlainValue(a.value, loc, line);
    out_.EndLine();
  }
}

}  // namespace velmora::cli
