// The checks of the C++ client, shared by its two files: client.cpp calls by name, as a script
// does; client_table.cpp calls through the interface tables, as an early-bound client does.
#pragma once

#include <string>

namespace velmora::client {

// Records one check; a failed one is printed with what was expected.
void Check(bool ok, const std::string& what);
// Compares texts exactly.
void CheckText(const std::u16string& actual, const std::u16string& expected,
               const std::string& what);
void CheckNumber(long long actual, long long expected, const std::string& what);

// Calls through the interface tables of a _Dolva and an _APIs pointer (passed as IUnknown*, in
// the form COM gave them).
void TableChecks(void* dolva, void* apis);

}  // namespace velmora::client
