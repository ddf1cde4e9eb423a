// velmora_pystub: writes velmora.pyi, the type stub of the Python module, from the dispatch
// table, so that editors show every method's parameters, defaults and errors.
//   velmora_pystub build/python/velmora.pyi
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "signature.h"
#include "velmora/dispatch.h"
#include "velmora/utf.h"

namespace velmora::python {
namespace {

constexpr const char* kHeader =
    R"(# Generated from the dispatch table by velmora_pystub; do not edit.
"""Spanish (Mexico) business routines: amounts in words, number bases, calendar and clock
arithmetic, date wording, host-form helpers."""

import datetime
import decimal
from typing import Any, Final, Generic, TypeVar

_T = TypeVar("_T")
# What a Currency parameter takes (a Currency result is a decimal.Decimal).
_Number = decimal.Decimal | float | int
# What a Date parameter takes and a Date comes back as: a time alone is a time of day 0.
_DateLike = datetime.datetime | datetime.date | datetime.time

__version__: str

class Error(Exception):
    """A runtime error: str(e) is "Error 13: No coinciden los tipos"."""
    number: int
    description: str
    def __init__(self, number: int, description: str) -> None: ...

class NoMemberError(Error, AttributeError):
    """Error 438 for a name the class does not have."""

class _EmptyType: ...
class _MissingType: ...

Empty: Final[_EmptyType]
Missing: Final[_MissingType]

class Ref(Generic[_T]):
    """A variable passed by reference: the routine may replace its value."""
    value: _T
    def __init__(self, value: _T = ...) -> None: ...

class Object:
    """An object of the library itself, such as a loaded picture."""
)";

constexpr std::array<std::string_view, 35> kKeywords = {
    "False", "None",     "True",  "and",    "as",   "assert", "async",  "await",    "break",
    "class", "continue", "def",   "del",    "elif", "else",   "except", "finally",  "for",
    "from",  "global",   "if",    "import", "in",   "is",     "lambda", "nonlocal", "not",
    "or",    "pass",     "raise", "return", "try",  "while",  "with",   "yield"};

// Whether a name of the table can be a Python parameter or attribute name; the stub would not
// parse otherwise, so the build stops instead.
bool IsIdentifier(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  const bool word = std::all_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9');
  });
  return word && std::find(kKeywords.begin(), kKeywords.end(), name) == kKeywords.end();
}

std::string ArgumentType(ParamType type) {
  switch (type) {
    case ParamType::kByte:
    case ParamType::kInteger:
    case ParamType::kLong: return "int";
    case ParamType::kCurrency: return "_Number";
    case ParamType::kDate: return "_DateLike";
    case ParamType::kText: return "str";
    case ParamType::kBoolean: return "bool";
    case ParamType::kNone:
    case ParamType::kObject:
    case ParamType::kVariant: break;
  }
  return "Any";
}

std::string ResultType(ParamType type) {
  switch (type) {
    case ParamType::kNone: return "None";
    case ParamType::kCurrency: return "decimal.Decimal";
    default: return ArgumentType(type);
  }
}

std::string PythonString(std::u16string_view text) {
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The operation's docstring, its lines indented; blank lines stay empty.
std::string Doc(const Operation& op, const std::string& indent) {
  std::string out = indent + "\"\"\"";
  std::istringstream in(Docstring(op));
  std::string line;
  for (bool first = true; std::getline(in, line); first = false) {
    if (!first) out += "\n" + (line.empty() ? std::string() : indent);
    out += line;
  }
  return out + "\"\"\"\n";
}

bool WriteMethod(std::ostream& out, const Operation& op) {
  const std::string name = ToUtf8(op.name);
  if (!IsIdentifier(name)) return false;
  out << "    def " << name << "(self";
  for (const Param& p : op.params) {
    const std::string pname = ToUtf8(p.name);
    if (!IsIdentifier(pname)) return false;
    std::string type = ArgumentType(p.type);
    if (p.by_ref && type != "Any") type += " | Ref[Any]";
    out << ", " << pname << ": " << type;
    if (p.default_value.kind == DefaultValue::Kind::kBoolean)
      out << " = " << (p.default_value.boolean ? "True" : "False");
    else if (p.default_value.kind == DefaultValue::Kind::kText)
      out << " = " << PythonString(p.default_value.text);
    else if (p.optional) out << " = ...";
  }
  out << ") -> " << ResultType(op.result) << ":\n" << Doc(op, "        ");
  return true;
}

bool WriteField(std::ostream& out, const Operation& op) {
  const std::string name = ToUtf8(op.name);
  if (!IsIdentifier(name)) return false;
  const bool writable = FindOperation(op.iface, op.name, Kind::kPropPut) != nullptr ||
                        FindOperation(op.iface, op.name, Kind::kPropPutRef) != nullptr;
  if (writable) {
    out << "    " << name << ": " << ArgumentType(op.result) << "\n";
  } else {
    out << "    @property\n    def " << name << "(self) -> " << ResultType(op.result) << ":\n"
        << Doc(op, "        ");
  }
  return true;
}

bool WriteClass(std::ostream& out, Interface iface, const char* name, const char* doc) {
  out << "\nclass " << name << ":\n    \"\"\"" << doc << "\"\"\"\n"
      << "    def __init__(self, *, locale: str | None = None,\n"
      << "                 now: datetime.datetime | datetime.date | None = None) -> None: ...\n"
      << "    # Any other spelling of a name, matched ignoring case: d.letras is d.Letras.\n"
      << "    def __getattr__(self, name: str) -> Any: ...\n";
  for (const Operation* op : OperationsOf(iface)) {
    if (op->binding.fn == nullptr) continue;
    bool ok = true;
    if (op->kind == Kind::kMethod) ok = WriteMethod(out, *op);
    else if (op->kind == Kind::kPropGet) ok = WriteField(out, *op);
    if (!ok) {
      std::cerr << "velmora_pystub: " << ToUtf8(op->name) << " has a name Python cannot use\n";
      return false;
    }
  }
  return true;
}

int Main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: velmora_pystub OUTPUT.pyi\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << kHeader;
  const bool ok =
      WriteClass(out, Interface::kDolva, "Dolva",
                 "The routines and fields of the library; locale and now as for the CLI.") &&
      WriteClass(out, Interface::kAPIs, "APIs",
                 "The system directories and the restart request; also callable on the class.");
  out.close();
  if (!ok || !out) {
    std::remove(argv[1]);
    std::cerr << "velmora_pystub: could not write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace velmora::python

int main(int argc, char** argv) { return velmora::python::Main(argc, argv); }
