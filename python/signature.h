// The text that documents an operation of the dispatch table to a Python user: the docstring of
// each method and field, in the module and in its type stub alike.
#pragma once

#include <string>

#include "velmora/dispatch.h"

namespace velmora::python {

// The declaration as the automation interface states it, then the runtime errors a call may
// raise:
//   "Function StrZero(ByVal sDat As String, ByVal iLen As Integer, [ByRef sFill As Variant])
//    As String\n\nRaises velmora.Error 6, 13, 94, 448, 449, 450."
std::string Docstring(const Operation& op);

}  // namespace velmora::python
