#include "signature.h"

#include "velmora/utf.h"

namespace velmora::python {

namespace {

std::string Declaration(const Operation& op) {
  std::string s;
  switch (op.kind) {
    case Kind::kPropGet: s = "Property Get "; break;
    case Kind::kPropPut: s = "Property Let "; break;
    case Kind::kPropPutRef: s = "Property Set "; break;
    case Kind::kMethod: s = op.result == ParamType::kNone ? "Sub " : "Function "; break;
  }
  s += ToUtf8(op.name) + "(";
  const char* separator = "";
  for (const auto& p : op.params) {
    s += separator;
    separator = ", ";
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

}  // namespace

std::string Docstring(const Operation& op) {
  std::string s = Declaration(op) + "\n\nRaises velmora.Error";
  const char* separator = " ";
  for (const int number : DocumentedErrors(op)) {
    s += separator + std::to_string(number);
    separator = ", ";
  }
  return s + ".";
}

}  // namespace velmora::python
