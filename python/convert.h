// Python values to the library's variants and back.
//
//   None               <-> Null (Nothing for an object parameter)
//   velmora.Empty      <-> Empty
//   velmora.Missing    <-> Missing (an option left out, also in the middle)
//   bool               <-> Boolean
//   int                <-> Integer, Long (Currency beyond 32 bits; beyond the currency range, 6)
//   float              <-> Double
//   decimal.Decimal    <-> Currency (rounded to four decimals, halves to even; out of range, 6)
//   str                <-> String
//   datetime.datetime  <-> Date with a time of day
//   datetime.date      <-> Date at midnight
//   datetime.time      <-> Date on day 0 (a time alone)
//   anything else      <-> Object: reached by name through its attributes (host.h)
//
// Dates go to the second; years before 100 are out of the library's calendar (6).
// Every function here is called with the GIL held.
#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>

#include "velmora/dispatch.h"
#include "velmora/variant.h"

namespace velmora::python {

namespace py = pybind11;

// The boxes of the module's own Python types.
struct EmptyValue {};
struct MissingValue {};
// velmora.Ref: a variable passed by reference, whose value the routine may replace.
struct RefBox {
  py::object value;
};
// velmora.Object: an object of the library itself (a loaded picture) on its way through Python.
struct ObjectBox {
  ObjectRef object;
};

// Fetches what the conversions need (the datetime and decimal types, the module's singletons);
// called once by the module's initialisation after the types are registered.
void InitConversions(py::handle empty, py::handle missing);

// The variant for a Python value passed where a parameter of the given type is expected.
Variant ToVariant(py::handle value, ParamType type = ParamType::kVariant);
// The Python value of a variant.
py::object FromVariant(const Variant& value);

// Text between Python's str and the library's 16-bit text, lone surrogates included.
std::u16string TextOf(py::handle str);
py::object PyText(std::u16string_view text);

// Dates between Python's date, datetime and time and the library's day numbers.
Date DateOf(py::handle value);
bool IsDateLike(py::handle value);      // a date, a datetime or a time
bool IsCalendarDate(py::handle value);  // a date or a datetime

// Whether the value is data (a number, a text, a date, a collection, one of the module's own
// values) rather than an object with members, such as a control.
bool IsPlainValue(py::handle value);

}  // namespace velmora::python
