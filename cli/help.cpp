#include "help.h"

#include <algorithm>
#include <vector>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/utf.h"
#include "velmora/version.h"

namespace velmora::cli {

const char* const kUsage =
    "Usage: velmora [OPTIONS] METHOD [ARG ...]\n"
    "       velmora [OPTIONS] --script FILE   (FILE '-' reads standard input)\n"
    "       velmora help METHOD | METHOD --help\n"
    "       velmora --list | --help | --version\n"
    "\n"
    "Calls a method of Dolva (or of APIs) by name and prints its result.\n"
    "\n"
    "Options (anywhere on the line; '--' ends them):\n"
    "  --locale NAME   locale for names, marks and dates (e.g. es_MX, en_US)\n"
    "  --now YYYY-MM-DDTHH:MM:SS   fixes the clock\n"
    "  --json          one JSON object per call\n"
    "  --script FILE   one call per line\n"
    "  --line-buffered write each result as soon as it is ready\n"
    "  --list          the operations in slot order with their parameters\n"
    "  --help          this text; with a METHOD, that method's help\n"
    "  --version       the version\n"
    "\n"
    "Arguments: a word is text; \"quoted\" is always text; Name:=value is a named argument;\n"
    "#2009-03-15#, #2009-03-15 17:30:00#, #17:30:00# are dates; Null and Empty are those values.\n"
    "In a script, one call per line, ' starts a comment, FIELD = value writes a field and a\n"
    "field alone prints it.\n"
    "\n"
    "Exit status: 0 success, 1 a runtime error, 2 a command-line mistake.\n";

const char* const kTryHelp = "Try 'velmora --help' for more information.";

std::string VersionLine() { return std::string("velmora ") + VELMORA_VERSION_STRING; }

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

void WriteList(Output& out) {
  const char* last = nullptr;
  for (const auto& op : Surface()) {
    if (op.binding.fn == nullptr) continue;
    const char* iface = op.iface == Interface::kDolva ? "Dolva" : "APIs";
    if (last != iface) {
      if (last != nullptr) out.EndLine();
      out.Write(iface);
      out.Write(":");
      out.EndLine();
    }
    last = iface;
    out.Write("  ");
    out.Write(Signature(op));
    out.EndLine();
  }
}

namespace {

// Characters, not bytes: what a terminal's columns count.
std::size_t Width(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Writes `text` in lines of at most `width` columns, each after `indent` blanks; the first
// line's indent is already on the line when `first_written` is true.
void Wrap(Output& out, std::string_view text, std::size_t indent, std::size_t width,
          bool first_written = false) {
  std::size_t column = first_written ? indent : 0;
  bool line_empty = true;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    if (word.empty()) continue;
    if (!line_empty && column + 1 + Width(word) > width) {
      out.EndLine();
      column = 0;
      line_empty = true;
    }
    if (column == 0) {
      out.Write(std::string(indent, ' '));
      column = indent;
    }
    if (!line_empty) {
      out.Write(" ");
      ++column;
    }
    out.Write(word);
    column += Width(word);
    line_empty = false;
  }
  out.EndLine();
}

std::string DefaultText(const Param& p) {
  switch (p.default_value.kind) {
    case DefaultValue::Kind::kBoolean: return p.default_value.boolean ? "True" : "False";
    case DefaultValue::Kind::kText: return "\"" + ToUtf8(p.default_value.text) + "\"";
    case DefaultValue::Kind::kNone: break;
  }
  return "";
}

}  // namespace

bool WriteHelp(Output& out, std::u16string_view name, bool spanish) {
  constexpr std::size_t kWidth = 78;
  std::vector<const Operation*> entries;
  for (const auto& op : Surface()) {
    if (op.binding.fn != nullptr && SameName(op.name, name)) entries.push_back(&op);
  }
  if (entries.empty()) return false;
  for (const Operation* op : entries) {
    out.Write(Signature(*op));
    out.EndLine();
  }
  const OperationDoc* doc = Documentation(*entries.front());
  if (doc == nullptr) return true;
  out.EndLine();
  Wrap(out, ToUtf8(doc->summary), 0, kWidth);

  // The parameters of the entry that has them all (a field's writing has its value).
  const Operation* widest = *std::max_element(
      entries.begin(), entries.end(),
      [](const Operation* a, const Operation* b) { return a->params.size() < b->params.size(); });
  if (!widest->params.empty()) {
    out.EndLine();
    out.Write("Parameters:");
    out.EndLine();
    for (std::size_t k = 0; k < widest->params.size(); ++k) {
      const Param& p = widest->params[k];
      std::string head = "  " + ToUtf8(p.name);
      head.append(head.size() < 18 ? 18 - head.size() : 1, ' ');
      out.Write(head);
      std::string text = k < doc->params.size() ? ToUtf8(doc->params[k]) : std::string();
      text += text.empty() ? "" : ".";
      if (p.optional) {
        const std::string def = DefaultText(p);
        text += def.empty() ? " (optional)" : " (optional, default " + def + ")";
      }
      Wrap(out, text, 18, kWidth, true);
    }
  }

  std::vector<int> errors;
  for (const Operation* op : entries) {
    for (int e : DocumentedErrors(*op)) errors.push_back(e);
  }
  std::sort(errors.begin(), errors.end());
  errors.erase(std::unique(errors.begin(), errors.end()), errors.end());
  out.EndLine();
  out.Write("Errors:");
  out.EndLine();
  for (int e : errors) {
    std::string line = "  " + std::to_string(e);
    line.append(line.size() < 7 ? 7 - line.size() : 1, ' ');
    AppendUtf8(StandardDescription(e, spanish), line);
    out.Write(line);
    out.EndLine();
  }

  out.EndLine();
  out.Write("Example:");
  out.EndLine();
  out.Write("  $ ");
  out.Write(ToUtf8(doc->example));
  out.EndLine();
  const std::string output = ToUtf8(doc->output);
  std::string_view shown = output;
  while (!shown.empty()) {
    const std::size_t nl = shown.find('\n');
    out.Write("  ");
    out.Write(shown.substr(0, nl));
    out.EndLine();
    shown = nl == std::string_view::npos ? std::string_view() : shown.substr(nl + 1);
  }
  if (doc->output_varies) {
    out.Write("  (the figures vary from machine to machine)");
    out.EndLine();
  }
  return true;
}

}  // namespace velmora::cli
