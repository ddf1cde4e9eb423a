// What the command line says about itself: usage, version, the list of operations and the help
// of one operation.
#pragma once

#include <string>
#include <string_view>

#include "output.h"
#include "velmora/dispatch.h"

namespace velmora::cli {

extern const char* const kUsage;

// "Try 'velmora --help' for more information.": the last line after a command-line mistake.
extern const char* const kTryHelp;

// "velmora 1.0.0".
std::string VersionLine();

// The declaration of an entry as the interfaces spell it:
// "Function NumRomano(ByRef Valor_1_a_3999 As Integer) As String".
std::string Signature(const Operation& op);

// Every operation in slot order with its parameters, grouped by interface.
void WriteList(Output& out);

// The help of the operation named `name` (any case): its declarations as WriteList writes them,
// what it does, each parameter with its meaning and default, the runtime errors it may raise
// (described in Spanish or English), and an example with its output. False when no operation
// has that name.
bool WriteHelp(Output& out, std::u16string_view name, bool spanish);

}  // namespace velmora::cli
