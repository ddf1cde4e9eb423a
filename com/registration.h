// Recording the library's classes in the registry, for every user of the machine or for one.
#pragma once

#include <optional>

#include "win32/win_api.h"

namespace velmora::com {

// Where the classes, program identifiers and type library are recorded.
enum class Scope {
  kMachine,  // the classes root, for every user (DllRegisterServer; needs an administrator)
  kUser,     // HKEY_CURRENT_USER\Software\Classes, the signed-in user only (DllInstall "user")
};

// The scope a DllInstall command line asks for: "user" (in any case, blanks around it ignored)
// for the signed-in user, an empty or missing one for the machine; nothing for any other text.
//   InstallScope(L" User ")  // Scope::kUser
//   InstallScope(L"todos")   // std::nullopt
std::optional<Scope> InstallScope(const wchar_t* command_line);

// Records both classes (apartment threaded) under their program identifiers "VelmoraSys.Dolva"
// and "VelmoraSys.APIs", the type library and its dual interfaces, pointing at this DLL file.
// SELFREG_E_CLASS or SELFREG_E_TYPELIB when a key cannot be written.
HRESULT Register(Scope scope);
// Removes what Register records in the scope; what is not there is no failure. In the user's
// scope the keys CLSID, TypeLib and Interface are removed too when nothing else is left in them.
HRESULT Unregister(Scope scope);

}  // namespace velmora::com
