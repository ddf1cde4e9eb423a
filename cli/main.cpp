// velmora: calls the routines of Dolva and APIs by name from a shell or a script.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "linux/console_dialogs.h"
#include "linux/linux_services.h"
#ifdef VELMORA_WITH_QT
#include "qt/qt_services.h"
#endif
#include "velmora/coerce.h"
#include "velmora/dispatch.h"
#include "velmora/error.h"
#include "velmora/sysinfo.h"
#include "velmora/utf.h"
#include "words.h"

namespace velmora::cli {
namespace {

constexpr const char* kUsage =
    "Usage: velmora [OPTIONS] METHOD [ARG ...]\n"
    "       velmora [OPTIONS] --script FILE   (FILE '-' reads standard input)\n"
    "       velmora --list | --help\n"
    "\n"
    "Calls a method of Dolva (or of APIs) by name and prints its result.\n"
    "\n"
    "Options:\n"
    "  --locale NAME   locale for names, marks and dates (e.g. es_MX, en_US)\n"
    "  --now YYYY-MM-DDTHH:MM:SS   fixes the clock\n"
    "  --json          one JSON object per call\n"
    "  --list          the operations in slot order with their parameters\n"
    "\n"
    "Arguments: a word is text; \"quoted\" is always text; Name:=value is a named argument;\n"
    "#2009-03-15#, #2009-03-15 17:30:00#, #17:30:00# are dates; Null and Empty are those values.\n"
    "In a script, one call per line, ' starts a comment, FIELD = value writes a field and a\n"
    "field alone prints it.\n"
    "\n"
    "Exit status: 0 success, 1 a runtime error, 2 a command-line mistake.\n";

struct Options {
  std::string locale;
  std::optional<Date> now;
  bool json = false;
  bool list = false;
  std::optional<std::string> script;
  std::vector<std::string> call;
};

std::string JsonString(std::u16string_view s) {
  std::string out = "\"";
  for (char c : ToUtf8(s)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string IsoDate(Date d) {
  if (!IsValidDate(d)) return "null";
  const auto dt = SplitDate(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "\"%04d-%02d-%02dT%02d:%02d:%02d\"", dt.date.year, dt.date.month,
                dt.date.day, dt.time.hour, dt.time.minute, dt.time.second);
  return buf;
}

std::string JsonValue(const Variant& v) {
  static const LocaleData kPlain = EnglishUnitedStates();  // "." marks for JSON numbers
  switch (v.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
    case VarType::kMissing: return "null";
    case VarType::kByte:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kCurrency:
    case VarType::kDouble: return ToUtf8(ToText(v, kPlain));  // "1E+15" is a JSON number too
    case VarType::kDate: return IsoDate(v.date());
    case VarType::kText: return JsonString(v.text());
    case VarType::kBoolean: return v.boolean() ? "true" : "false";
    case VarType::kObject: return v.object() ? "\"[Object]\"" : "null";
  }
  return "null";
}

std::string PlainValue(const Variant& v, const LocaleData& loc) {
  switch (v.type()) {
    case VarType::kEmpty: return "";
    case VarType::kNull: return "Null";
    case VarType::kMissing: return "Missing";
    case VarType::kObject: return v.object() ? "[Object]" : "Nothing";
    default: return ToUtf8(ToText(v, loc));
  }
}

class Session {
 public:
  Session(const Options& opts, std::shared_ptr<Services> services)
      : opts_(opts), services_(std::move(services)), dolva_(services_), apis_(services_) {}

  // Runs one call; false when it raised a runtime error.
  bool Call(const std::vector<std::u16string>& words) {
    const std::u16string& method = words.front();
    std::vector<Argument> args;
    for (std::size_t i = 1; i < words.size(); ++i) args.push_back(ParseWord(words[i]));
    try {
      Variant result;
      const bool on_apis = FindOperation(Interface::kDolva, method) == nullptr &&
                           FindOperation(Interface::kDolva, method, Kind::kPropGet) == nullptr &&
                           FindOperation(Interface::kAPIs, method) != nullptr;
      result = on_apis ? Invoke(apis_, method, args) : Invoke(dolva_, method, args);
      Report(result, args, nullptr);
      return true;
    } catch (const Error& e) {
      Report({}, args, &e);
      return false;
    }
  }

  bool Assign(const std::u16string& field, const std::u16string& value_word) {
    try {
      PutField(dolva_, field, ParseWord(value_word).value);
      return true;
    } catch (const Error& e) {
      std::vector<Argument> none;
      Report({}, none, &e);
      return false;
    }
  }

  static bool IsField(std::u16string_view name) {
    return FindOperation(Interface::kDolva, name, Kind::kPropPut) != nullptr ||
           FindOperation(Interface::kDolva, name, Kind::kPropPutRef) != nullptr;
  }

 private:
  void Report(const Variant& result, const std::vector<Argument>& args, const Error* error) {
    const LocaleData& loc = services_->locale;
    if (opts_.json) {
      std::string line = "{";
      if (error != nullptr) {
        line += "\"error\": " + std::to_string(error->number()) +
                ", \"description\": " + JsonString(error->description(loc.spanish));
      } else {
        line += "\"result\": " + JsonValue(result);
      }
      std::string byref;
      for (const auto& a : args) {
        if (!a.written) continue;
        if (!byref.empty()) byref += ", ";
        byref += JsonString(WrittenName(a)) + ": " + JsonValue(a.value);
      }
      if (!byref.empty()) line += ", \"byref\": {" + byref + "}";
      std::cout << line << "}\n";
      return;
    }
    if (error != nullptr) {
      std::cerr << "Error " << error->number() << ": " << ToUtf8(error->description(loc.spanish))
                << "\n";
    } else if (!result.IsEmpty()) {
      std::cout << PlainValue(result, loc) << "\n";
    }
    for (const auto& a : args) {
      if (a.written)
        std::cout << ToUtf8(WrittenName(a)) << " = " << PlainValue(a.value, loc) << "\n";
    }
    std::cout.flush();
  }

  // The name a written-back argument is reported under: its own name when it was named,
  // otherwise its parameter's.
  std::u16string WrittenName(const Argument& a) const {
    return a.name.empty() ? std::u16string(a.param) : a.name;
  }

  const Options& opts_;
  std::shared_ptr<Services> services_;
  Dolva dolva_;
  APIs apis_;
};

}  // namespace
}  // namespace velmora::cli

namespace velmora::cli {
namespace {

std::optional<Date> ParseNow(const std::string& s) {
  CivilDate d;
  CivilTime t;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &d.year, &d.month, &d.day, &t.hour,
                  &t.minute, &t.second) != 6)
    return std::nullopt;
  if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1 ||
      CivilFromDays(DaysFromCivil(d)) != d || t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  return MakeDate(d, t);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  int i = 1;
  auto value = [&](const std::string& opt) -> std::string {
    if (i + 1 >= argc) throw SyntaxError(opt + " needs a value");
    return argv[++i];
  };
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a.rfind("--", 0) != 0) break;
    if (a == "--locale") o.locale = value(a);
    else if (a == "--now") {
      o.now = ParseNow(value(a));
      if (!o.now) throw SyntaxError("--now wants YYYY-MM-DDTHH:MM:SS");
    } else if (a == "--json") o.json = true;
    else if (a == "--list") o.list = true;
    else if (a == "--script") o.script = value(a);
    else if (a == "--help") throw std::logic_error("help");
    else throw SyntaxError("unknown option " + a);
  }
  for (; i < argc; ++i) o.call.emplace_back(argv[i]);
  if (!o.list && !o.script && o.call.empty()) throw SyntaxError("no method given");
  if (o.script && !o.call.empty()) throw SyntaxError("--script takes no method");
  return o;
}

std::string Signature(const Operation& op) {
  std::string s;
  switch (op.kind) {
    case Kind::kPropGet: s = "Property Get "; break;
    case Kind::kPropPut: s = "Property Let "; break;
    case Kind::kPropPutRef: s = "Property Set "; break;
    case Kind::kMethod: s = op.result == ParamType::kNone ? "Sub " : "Function "; break;
  }
  s += ToUtf8(op.name) + "(";
  bool first = true;
  for (const auto& p : op.params) {
    if (!first) s += ", ";
    first = false;
    if (p.optional) s += "[";
    s += p.by_ref ? "ByRef " : "ByVal ";
    s += ToUtf8(p.name) + " As " + std::string(ParamTypeName(p.type));
    if (p.default_value.kind == DefaultValue::Kind::kBoolean)
      s += p.default_value.boolean ? " = True" : " = False";
    else if (p.default_value.kind == DefaultValue::Kind::kText)
      s += " = \"" + ToUtf8(p.default_value.text) + "\"";
    if (p.optional) s += "]";
  }
  s += ")";
  if (op.result != ParamType::kNone) s += " As " + std::string(ParamTypeName(op.result));
  return s;
}

void List() {
  const char* last = nullptr;
  for (const auto& op : Surface()) {
    if (op.binding.fn == nullptr) continue;
    const char* iface = op.iface == Interface::kDolva ? "Dolva" : "APIs";
    if (last != iface) std::cout << (last ? "\n" : "") << iface << ":\n";
    last = iface;
    std::cout << "  " << Signature(op) << "\n";
  }
}

// Runs a script; true when every line succeeded.
bool RunScript(Session& session, std::istream& in) {
  bool ok = true;
  std::string raw;
  while (std::getline(in, raw)) {
    const std::u16string line = FromUtf8(raw);
    const auto body = TrimBlanks(line);
    if (body.empty() || body.front() == u'\'') continue;
    std::vector<std::u16string> words;
    try {
      words = SplitLine(body);
      if (words.empty()) continue;
      if (words.size() == 3 && words[1] == u"=" && Session::IsField(words[0])) {
        ok &= session.Assign(words[0], words[2]);
      } else {
        ok &= session.Call(words);
      }
    } catch (const SyntaxError& e) {
      std::cerr << "velmora: " << e.what() << "\n";
      ok = false;
    }
  }
  return ok;
}

// A library window left open by a call (System with bModal false) keeps the process running
// until the user closes it, as it would keep a host's own event loop busy.
void WaitForWindows(const Services& services) {
  if (services.system_windows) services.system_windows->WaitWhileOpen();
}

int Main(int argc, char** argv) {
  Options opts;
  try {
    opts = ParseOptions(argc, argv);
  } catch (const SyntaxError& e) {
    std::cerr << "velmora: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::logic_error&) {
    std::cout << kUsage;
    return 0;
  }
  if (opts.list) {
    List();
    return 0;
  }
#ifdef VELMORA_WITH_QT
  // Boxes open as windows when there is a display, on the terminal otherwise.
  auto services = qt::QtServices(opts.locale);
#else
  auto services = linux_platform::LinuxServices(opts.locale);
  services->message_box = std::make_shared<linux_platform::ConsoleMessageBox>();
  services->events = std::make_shared<linux_platform::ConsoleEventPump>();
#endif
  if (opts.now) services->clock = std::make_shared<FixedClock>(*opts.now);
  Session session(opts, services);
  if (opts.script) {
    if (*opts.script == "-") {
      const bool ok = RunScript(session, std::cin);
      WaitForWindows(*services);
      return ok ? 0 : 1;
    }
    std::ifstream in(*opts.script);
    if (!in) {
      std::cerr << "velmora: cannot read script " << *opts.script << "\n";
      return 2;
    }
    const bool ok = RunScript(session, in);
    WaitForWindows(*services);
    return ok ? 0 : 1;
  }
  std::vector<std::u16string> words;
  for (const auto& w : opts.call) words.push_back(FromUtf8(w));
  try {
    const bool ok = session.Call(words);
    WaitForWindows(*services);
    return ok ? 0 : 1;
  } catch (const SyntaxError& e) {
    std::cerr << "velmora: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace
}  // namespace velmora::cli

int main(int argc, char** argv) { return velmora::cli::Main(argc, argv); }
