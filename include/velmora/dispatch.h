// Calling the public classes by name: the one table of the public surface.
//
// The table lists every field and operation of Dolva and APIs in slot order, with each
// parameter's name, type, passing, optionality and default, and the runtime errors the operation
// itself raises. The command line, the COM server, the fuzzer and the documentation all read it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "velmora/dolva.h"
#include "velmora/variant.h"

namespace velmora {

enum class ParamType : std::uint8_t {
  kNone,  // no result
  kByte,
  kInteger,
  kLong,
  kCurrency,
  kDate,
  kText,
  kBoolean,
  kObject,
  kVariant,
};

// Name of a parameter type as the interfaces spell it ("Integer", "Currency", "Variant"...).
std::string_view ParamTypeName(ParamType type);

enum class Kind : std::uint8_t { kMethod, kPropGet, kPropPut, kPropPutRef };
enum class Interface : std::uint8_t { kDolva, kAPIs };

// A default value of an optional parameter.
struct DefaultValue {
  enum class Kind : std::uint8_t { kNone, kBoolean, kText } kind = Kind::kNone;
  bool boolean = false;
  std::u16string_view text;
  Variant ToVariant() const;
};

struct Operation;

struct Param {
  std::u16string_view name;
  ParamType type = ParamType::kVariant;
  bool by_ref = false;
  bool optional = false;
  DefaultValue default_value;
  // A second spelling accepted by name ("Ano" for "Año": some type-library tools take no "ñ").
  std::u16string_view alias;
};

// The C++ side of an entry: the function that unpacks the arguments and calls the routine, and
// the parameter types its signature declares (checked against the table by the tests).
struct Binding {
  // `args[0..count)` are the caller's variables for the first parameters, changed in place by
  // the routine; the others are left out, as is a null or missing one. `changed` (one per
  // parameter, false going in) comes out saying which by-reference arguments the routine changed.
  // Raises 449 for a required parameter left out.
  using Fn = Variant (*)(void* self, const Operation& op, Variant* const* args, std::size_t count,
                         bool* changed);
  Fn fn = nullptr;
  const ParamType* types = nullptr;
  const bool* by_ref = nullptr;
  std::uint8_t count = 0;
  ParamType result = ParamType::kNone;
};

struct Operation {
  Interface iface = Interface::kDolva;
  Kind kind = Kind::kMethod;
  std::u16string_view name;
  ParamType result = ParamType::kNone;
  std::span<const Param> params;
  // The runtime errors the routine itself raises; the conversions of its typed parameters and
  // the calling errors (448, 449, 450) come on top, see DocumentedErrors.
  std::span<const int> errors;
  Binding binding;  // fn is null for an operation this build does not carry
};

// What an operation does, told to its users: the command line's help, the manual page and the
// README's table of operations all read it, so it is written once, beside the table. The texts
// are Spanish, as the library's other user-facing texts.
struct OperationDoc {
  std::u16string_view summary;  // one paragraph
  // Each parameter's meaning, in slot order (for a field: the value it takes).
  std::span<const std::u16string_view> params;
  // One command line that shows it, as typed at a shell: u"velmora NumRomano 1994".
  std::u16string_view example;
  // What that command prints on a terminal, lines ended by "\n".
  std::u16string_view output;
  // The figures of the output depend on the machine (its kernel, its processors): another
  // machine prints other digits in the same places.
  bool output_varies = false;
};

// The description of an operation; a field's reading and writing share one. Null for an entry
// that has none. Documentation(*FindOperation(Interface::kDolva, u"NumRomano"))->example ==
// u"velmora NumRomano 1994".
const OperationDoc* Documentation(const Operation& op);

// Every slot of both interfaces, Dolva's first, in slot order.
std::span<const Operation> Surface();
// The operations of one interface in slot order.
std::vector<const Operation*> OperationsOf(Interface iface);

// One name of an interface with its entries: a field has its reading and its writing, a method
// one entry. Members are numbered from 1 in the order their names first appear in the slots;
// the COM server gives that number as the member's dispatch number.
struct Member {
  Interface iface = Interface::kDolva;
  std::u16string_view name;
  int number = 0;
  std::array<const Operation*, 4> entries{};  // by Kind; null for a kind the member lacks
  const Operation* entry(Kind kind) const { return entries[static_cast<std::size_t>(kind)]; }
};

// The members of one interface, in the order of their numbers.
std::span<const Member> MembersOf(Interface iface);
// Looks a member up by name, ignoring case as the automation runtime does; null when unknown.
// FindMember(Interface::kDolva, u"letras")->name == u"Letras".
const Member* FindMember(Interface iface, std::u16string_view name);
// Looks an operation up by name, ignoring case; a field's reading for kPropGet.
const Operation* FindOperation(Interface iface, std::u16string_view name,
                               Kind kind = Kind::kMethod);
// Every error number a call of the operation may raise: its own, those of converting its
// parameters to their types, and those of calling by name.
std::vector<int> DocumentedErrors(const Operation& op);

// One argument of a call by name: positional when name is empty. After the call, value holds
// what the routine wrote back and written says whether it did (by-reference arguments only).
struct Argument {
  std::u16string name;
  Variant value;
  bool written = false;
  std::u16string_view param;  // set by the call: the parameter the argument went to
};

// Calls a method, or reads a field or property, by name. Raises 438 for an unknown name,
// 450 for too many arguments, 449 for a required one left out, 448 for an unknown named one.
// By-reference arguments are written back even when the routine fails after changing them.
Variant Invoke(Dolva& self, std::u16string_view name, std::vector<Argument>& args);
Variant Invoke(APIs& self, std::u16string_view name, std::vector<Argument>& args);
// Calls a given entry of the table directly (the COM server and the fuzzer hold entries).
Variant Invoke(void* self, const Operation& op, std::vector<Argument>& args);
// Calls an entry resolved beforehand with positional arguments only, the leanest road: args[k]
// goes to parameter k, and one that is Variant::Missing() or beyond the end of args is left
// out. The routine changes by-reference arguments in place; `changed`, when given (one flag per
// argument), says which it changed. Raises 450 for more arguments than parameters and 449 for
// a required one left out.
//   const Operation& letras = *FindOperation(Interface::kDolva, u"Letras");
//   Variant amount = Currency::FromWhole(21);
//   Invoke(&dolva, letras, std::span(&amount, 1)) == Variant(u"VEINTIUN PESOS, 00/100 M.N.")
Variant Invoke(void* self, const Operation& op, std::span<Variant> args,
               std::span<bool> changed = {});
// Writes a public field by name (a value field, or an object field by reference).
void PutField(Dolva& self, std::u16string_view name, const Variant& value);

}  // namespace velmora
