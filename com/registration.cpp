// Registration of the library's classes: for the machine (the classes root) or for the signed-in
// user (HKEY_CURRENT_USER\Software\Classes, no administrator needed).
//
// For the machine the type library is registered by the automation runtime. For the user its keys
// are written here: the runtime's own per-user registration is not everywhere (Wine records it
// for the machine), and a user's registration must leave the machine's keys alone. The keys are
// those the runtime writes, so both scopes, and the installer package, record the same thing.
#include "com/registration.h"

#include <cwchar>
#include <string>
#include <vector>

#include "com/face.h"
#include "com/server.h"
#include "win32/wide.h"

namespace velmora::com {

namespace {

// Dual and automation interfaces are marshaled from the type library by the automation
// marshaler; a plain dispatch interface by the dispatch marshaler.
constexpr const wchar_t* kAutomationMarshaler = L"{00020424-0000-0000-C000-000000000046}";
constexpr const wchar_t* kDispatchMarshaler = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// A number as the automation runtime writes it in a key name: hexadecimal, no leading zeros.
std::wstring Hex(unsigned long n) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"%lx", n);
  return text;
}

std::wstring Text(BSTR b) {
  return b == nullptr ? std::wstring() : std::wstring(b, SysStringLen(b));
}

// The keys of one scope: paths are relative to the classes of that scope.
class Classes {
 public:
  explicit Classes(Scope scope)
      : root_(scope == Scope::kMachine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER),
        prefix_(scope == Scope::kMachine ? L"" : L"Software\\Classes\\") {}

  LONG Set(const std::wstring& path, const wchar_t* name, const std::wstring& value) const {
    HKEY key = nullptr;
    LONG r = RegCreateKeyExW(root_, (prefix_ + path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                             &key, nullptr);
    if (r != ERROR_SUCCESS) return r;
    r = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return r;
  }

  LONG DeleteTree(const std::wstring& path) const {
    const LONG r = RegDeleteTreeW(root_, (prefix_ + path).c_str());
    return r == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : r;
  }

  // Removes the key when nothing is left in it (no value, no subkey).
  void DeleteIfEmpty(const std::wstring& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, (prefix_ + path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG r = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                    &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (r == ERROR_SUCCESS && subkeys == 0 && values == 0)
      RegDeleteKeyW(root_, (prefix_ + path).c_str());
  }

 private:
  HKEY root_;
  std::wstring prefix_;
};

// The type library embedded in this DLL, released with the holder.
class Library {
 public:
  Library() { LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &lib_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (lib_ != nullptr) lib_->Release();
  }
  ITypeLib* get() const { return lib_; }

 private:
  ITypeLib* lib_ = nullptr;
};

// An interface the automation runtime records for marshaling.
struct InterfaceEntry {
  std::wstring id;
  std::wstring name;
  const wchar_t* marshaler;
};

std::vector<InterfaceEntry> MarshaledInterfaces(ITypeLib* lib) {
  std::vector<InterfaceEntry> entries;
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    ITypeInfo* info = nullptr;
    if (FAILED(lib->GetTypeInfo(i, &info))) continue;
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attr))) {
      const bool dispatch = attr->typekind == TKIND_DISPATCH;
      const bool automation =
          attr->typekind == TKIND_INTERFACE && (attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0;
      if (dispatch || automation) {
        BSTR name = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        const bool plain_dispatch = dispatch && (attr->wTypeFlags & TYPEFLAG_FDUAL) == 0;
        entries.push_back({GuidText(attr->guid), Text(name),
                           plain_dispatch ? kDispatchMarshaler : kAutomationMarshaler});
        SysFreeString(name);
      }
      info->ReleaseTypeAttr(attr);
    }
    info->Release();
  }
  return entries;
}

struct LibraryIdentity {
  std::wstring id;       // {...}
  std::wstring version;  // "1.0"
  std::wstring locale;   // "0"
  std::wstring platform;
  std::wstring flags;
  std::wstring title;
};

bool Identify(ITypeLib* lib, LibraryIdentity& out) {
  TLIBATTR* attr = nullptr;
  if (FAILED(lib->GetLibAttr(&attr))) return false;
  out.id = GuidText(attr->guid);
  out.version = Hex(attr->wMajorVerNum) + L"." + Hex(attr->wMinorVerNum);
  out.locale = Hex(attr->lcid);
  out.platform = attr->syskind == SYS_WIN64 ? L"win64" : L"win32";
  // Only the flags a library declares; "has a disk image" is the loader's own.
  out.flags =
      std::to_wstring(attr->wLibFlags & (LIBFLAG_FRESTRICTED | LIBFLAG_FCONTROL | LIBFLAG_FHIDDEN));
  lib->ReleaseTLibAttr(attr);
  BSTR name = nullptr;
  BSTR doc = nullptr;
  lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
  out.title = SysStringLen(doc) != 0 ? Text(doc) : Text(name);
  SysFreeString(name);
  SysFreeString(doc);
  return true;
}

HRESULT RegisterClasses(const Classes& keys, const std::wstring& path) {
  for (Interface iface : {Interface::kDolva, Interface::kAPIs}) {
    const std::wstring clsid = L"CLSID\\" + GuidText(ClassId(iface));
    const std::wstring progid = win32::Wide(ProgId(iface));
    for (LONG r :
         {keys.Set(clsid, nullptr, progid), keys.Set(clsid + L"\\InprocServer32", nullptr, path),
          keys.Set(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
          keys.Set(clsid + L"\\ProgID", nullptr, progid),
          keys.Set(clsid + L"\\VersionIndependentProgID", nullptr, progid),
          keys.Set(clsid + L"\\TypeLib", nullptr, GuidText(LibraryId())),
          keys.Set(clsid + L"\\Version", nullptr, L"1.0"), keys.Set(progid, nullptr, progid),
          keys.Set(progid + L"\\CLSID", nullptr, GuidText(ClassId(iface)))}) {
      if (r != ERROR_SUCCESS) return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

HRESULT UnregisterClasses(const Classes& keys) {
  HRESULT result = S_OK;
  for (Interface iface : {Interface::kDolva, Interface::kAPIs}) {
    if (keys.DeleteTree(L"CLSID\\" + GuidText(ClassId(iface))) != ERROR_SUCCESS ||
        keys.DeleteTree(win32::Wide(ProgId(iface))) != ERROR_SUCCESS) {
      result = SELFREG_E_CLASS;
    }
  }
  return result;
}

// The keys the automation runtime writes when it registers a type library, written in the
// user's classes.
HRESULT RegisterLibraryForUser(const Classes& keys, const std::wstring& path) {
  const Library library;
  LibraryIdentity lib;
  if (library.get() == nullptr || !Identify(library.get(), lib)) return SELFREG_E_TYPELIB;
  const std::wstring base = L"TypeLib\\" + lib.id + L"\\" + lib.version;
  std::vector<LONG> results = {
      keys.Set(base, nullptr, lib.title),
      keys.Set(base + L"\\" + lib.locale + L"\\" + lib.platform, nullptr, path),
      keys.Set(base + L"\\FLAGS", nullptr, lib.flags),
      keys.Set(base + L"\\HELPDIR", nullptr, path.substr(0, path.find_last_of(L'\\') + 1))};
  for (const InterfaceEntry& e : MarshaledInterfaces(library.get())) {
    const std::wstring key = L"Interface\\" + e.id;
    for (LONG r :
         {keys.Set(key, nullptr, e.name), keys.Set(key + L"\\ProxyStubClsid", nullptr, e.marshaler),
          keys.Set(key + L"\\ProxyStubClsid32", nullptr, e.marshaler),
          keys.Set(key + L"\\TypeLib", nullptr, lib.id),
          keys.Set(key + L"\\TypeLib", L"Version", lib.version)}) {
      results.push_back(r);
    }
  }
  for (LONG r : results) {
    if (r != ERROR_SUCCESS) return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

HRESULT UnregisterLibraryForUser(const Classes& keys) {
  const Library library;
  LibraryIdentity lib;
  if (library.get() == nullptr || !Identify(library.get(), lib)) return SELFREG_E_TYPELIB;
  HRESULT result = S_OK;
  if (keys.DeleteTree(L"TypeLib\\" + lib.id + L"\\" + lib.version) != ERROR_SUCCESS)
    result = SELFREG_E_TYPELIB;
  keys.DeleteIfEmpty(L"TypeLib\\" + lib.id);
  for (const InterfaceEntry& e : MarshaledInterfaces(library.get())) {
    if (keys.DeleteTree(L"Interface\\" + e.id) != ERROR_SUCCESS) result = SELFREG_E_TYPELIB;
  }
  return result;
}

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

std::optional<Scope> InstallScope(const wchar_t* command_line) {
  std::wstring text = command_line == nullptr ? L"" : command_line;
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return Scope::kMachine;
  text = text.substr(first, text.find_last_not_of(L" \t") - first + 1);
  if (CompareStringOrdinal(text.c_str(), -1, L"user", -1, TRUE) == CSTR_EQUAL) return Scope::kUser;
  return std::nullopt;
}

HRESULT Register(Scope scope) {
  const Classes keys(scope);
  const std::wstring path = ModulePath();
  const HRESULT hr = RegisterClasses(keys, path);
  if (FAILED(hr)) return hr;
  if (scope == Scope::kUser) return RegisterLibraryForUser(keys, path);
  // Registering the type library also records the interfaces for the automation marshaler.
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library))) return SELFREG_E_TYPELIB;
  library->Release();
  return S_OK;
}

HRESULT Unregister(Scope scope) {
  const Classes keys(scope);
  HRESULT result = S_OK;
  if (scope == Scope::kUser) {
    result = UnregisterLibraryForUser(keys);
  } else {
    const HRESULT hr = UnRegisterTypeLib(LibraryId(), 1, 0, LOCALE_NEUTRAL, kSysKind);
    if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_CANTLOADLIBRARY)
      result = SELFREG_E_TYPELIB;
  }
  const HRESULT classes = UnregisterClasses(keys);
  if (FAILED(classes)) result = classes;
  if (scope == Scope::kUser) {
    for (const wchar_t* parent : {L"CLSID", L"TypeLib", L"Interface"}) keys.DeleteIfEmpty(parent);
  }
  return result;
}

}  // namespace velmora::com
