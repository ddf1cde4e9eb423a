// Checks of the ways VelmoraSys.dll is deployed, run under Wine by deploy.sh, one command a run:
//
//   scopes DLL               DllInstall's command lines; a user's registration beside the
//                            machine's leaves the machine's alone
//   registered user DLL      the keys of both classes, their program identifiers, the type
//   registered machine DLL   library and its interfaces in that scope's classes, exactly as
//                            expected for DLL, none in the other scope; a client that follows
//                            them creates both classes and calls them
//   absent                   no key of the library in either scope or registry view
//   product CODE VERSION [DLL]
//                            exactly one installed product of the upgrade code CODE, of VERSION
//                            (and the version record of DLL says the same)
//   product CODE none        no installed product of the upgrade code
//   regfree                  run as a copy beside the sample application manifest, VelmoraSys.dll
//                            and its assembly manifest: both classes created by program
//                            identifier and called, the type library found, and no key anywhere
//   unmanifested             the same copy without a manifest finds neither class nor library
//
// Prints each failure and "SUMMARY deploy-COMMAND: N checks, F failures"; the exit status is the
// failure count. The IDL compiler's header is used in C mode, as in client_table.cpp.
#define CINTERFACE

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "win32/win_api.h"

#include <msi.h>

#include <initguid.h>

#include "VelmoraSys_h.h"

namespace {

using namespace velmora::comtest;

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

constexpr const wchar_t* kAutomationMarshaler = L"{00020424-0000-0000-C000-000000000046}";
constexpr const wchar_t* kPlatform = sizeof(void*) == 8 ? L"win64" : L"win32";

// The classes of one scope, in one registry view.
struct Classes {
  HKEY root;
  REGSAM view;  // 0 (the process's own), KEY_WOW64_64KEY or KEY_WOW64_32KEY
  const char* name;
};

const Classes kUser{HKEY_CURRENT_USER, 0, "HKEY_CURRENT_USER\\Software\\Classes"};
const Classes kMachine{HKEY_LOCAL_MACHINE, 0, "HKEY_LOCAL_MACHINE\\Software\\Classes"};
const Classes kEveryView[] = {
    {HKEY_CURRENT_USER, KEY_WOW64_64KEY, "HKEY_CURRENT_USER\\Software\\Classes (64-bit view)"},
    {HKEY_CURRENT_USER, KEY_WOW64_32KEY, "HKEY_CURRENT_USER\\Software\\Classes (32-bit view)"},
    {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "HKEY_LOCAL_MACHINE\\Software\\Classes (64-bit view)"},
    {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "HKEY_LOCAL_MACHINE\\Software\\Classes (32-bit view)"},
};

HKEY Open(const Classes& c, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(c.root, (L"Software\\Classes\\" + path).c_str(), 0, KEY_READ | c.view, &key) !=
      ERROR_SUCCESS)
    return nullptr;
  return key;
}

// The text of a value (the default one for an empty name); "(none)" when it is not there.
std::wstring Read(const Classes& c, const std::wstring& path, const wchar_t* name = nullptr) {
  HKEY key = Open(c, path);
  if (key == nullptr) return L"(none)";
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  const LONG r = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return r == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data) : L"(none)";
}

// Every key of the library, at the top: what a registration adds and a removal takes away.
std::vector<std::wstring> LibraryKeys() {
  return {L"CLSID\\" + GuidText(CLSID_Dolva),
          L"CLSID\\" + GuidText(CLSID_APIs),
          L"VelmoraSys.Dolva",
          L"VelmoraSys.APIs",
          L"TypeLib\\" + GuidText(LIBID_VelmoraSys),
          L"Interface\\" + GuidText(IID__Dolva),
          L"Interface\\" + GuidText(IID__APIs)};
}

// One line per key ("KEY") and per value ("KEY | NAME = VALUE"), under the key at path.
void List(const Classes& c, const std::wstring& path, std::vector<std::wstring>& lines) {
  HKEY key = Open(c, path);
  if (key == nullptr) return;
  lines.push_back(path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &size) != ERROR_SUCCESS)
      break;
    lines.push_back(path + L" | " + name + L" = " + (type == REG_SZ ? data : L"(not text)"));
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subkeys.emplace_back(name);
  }
  RegCloseKey(key);
  for (const auto& s : subkeys) {
    std::wstring sub = path;
    sub.append(L"\\").append(s);
    List(c, sub, lines);
  }
}

std::vector<std::wstring> Listing(const Classes& c) {
  std::vector<std::wstring> lines;
  for (const auto& top : LibraryKeys()) List(c, top, lines);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// What a registration of the DLL at path records, in the form of Listing.
std::vector<std::wstring> Expected(const std::wstring& path) {
  const std::wstring lib = GuidText(LIBID_VelmoraSys);
  std::vector<std::wstring> lines;
  const auto key = [&](const std::wstring& k) { lines.push_back(k); };
  const auto value = [&](const std::wstring& k, const std::wstring& name, const std::wstring& v) {
    lines.push_back(k + L" | " + name + L" = " + v);
  };
  for (const auto& [clsid, progid] : {std::pair{GuidText(CLSID_Dolva), L"VelmoraSys.Dolva"},
                                      std::pair{GuidText(CLSID_APIs), L"VelmoraSys.APIs"}}) {
    const std::wstring c = L"CLSID\\" + clsid;
    for (const wchar_t* sub : {L"", L"\\InprocServer32", L"\\ProgID", L"\\VersionIndependentProgID",
                               L"\\TypeLib", L"\\Version"})
      key(c + sub);
    value(c, L"", progid);
    value(c + L"\\InprocServer32", L"", path);
    value(c + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    value(c + L"\\ProgID", L"", progid);
    value(c + L"\\VersionIndependentProgID", L"", progid);
    value(c + L"\\TypeLib", L"", lib);
    value(c + L"\\Version", L"", L"1.0");
    key(progid);
    key(progid + std::wstring(L"\\CLSID"));
    value(progid, L"", progid);
    value(progid + std::wstring(L"\\CLSID"), L"", clsid);
  }
  const std::wstring t = L"TypeLib\\" + lib;
  for (const std::wstring& k : {t, t + L"\\1.0", t + L"\\1.0\\0", t + L"\\1.0\\0\\" + kPlatform,
                                t + L"\\1.0\\FLAGS", t + L"\\1.0\\HELPDIR"})
    key(k);
  value(t + L"\\1.0", L"", L"VelmoraSys");
  value(t + L"\\1.0\\0\\" + kPlatform, L"", path);
  value(t + L"\\1.0\\FLAGS", L"", L"0");
  value(t + L"\\1.0\\HELPDIR", L"", path.substr(0, path.find_last_of(L'\\') + 1));
  for (const auto& [iid, name] :
       {std::pair{GuidText(IID__Dolva), L"_Dolva"}, std::pair{GuidText(IID__APIs), L"_APIs"}}) {
    const std::wstring i = L"Interface\\" + iid;
    for (const wchar_t* sub : {L"", L"\\ProxyStubClsid", L"\\ProxyStubClsid32", L"\\TypeLib"})
      key(i + sub);
    value(i, L"", name);
    value(i + L"\\ProxyStubClsid", L"", kAutomationMarshaler);
    value(i + L"\\ProxyStubClsid32", L"", kAutomationMarshaler);
    value(i + L"\\TypeLib", L"", lib);
    value(i + L"\\TypeLib", L"Version", L"1.0");
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void CheckListing(const Classes& c, const std::vector<std::wstring>& expected) {
  const auto actual = Listing(c);
  for (const auto& line : expected) {
    Check(std::find(actual.begin(), actual.end(), line) != actual.end(),
          std::string(c.name) + " lacks " + Narrow(line));
  }
  for (const auto& line : actual) {
    Check(std::find(expected.begin(), expected.end(), line) != expected.end(),
          std::string(c.name) + " has " + Narrow(line) + ", which is not expected");
  }
}

void CheckNothingIn(const Classes& c) {
  for (const auto& line : Listing(c)) Check(false, std::string(c.name) + " has " + Narrow(line));
  Check(true, std::string(c.name) + " has no key of the library");
}

void CheckAbsent() {
  for (const Classes& c : kEveryView) CheckNothingIn(c);
}

// Calls both classes as a client of the library does; where is what reached them.
void CallBoth(IDispatch* dolva, IDispatch* apis, const std::string& where) {
  Check(dolva != nullptr, where + ": Dolva created");
  Check(apis != nullptr, where + ": APIs created");
  if (dolva != nullptr) {
    CheckText(Call(dolva, u"StrZero", Args().Text(u"7").Int(3)).text(), u"007",
              where + ": StrZero");
    CheckText(Call(dolva, u"NumRomano", Args().Int(1999)).text(), u"MCMXCIX",
              where + ": NumRomano");
    ITypeInfo* info = nullptr;
    Check(SUCCEEDED(dolva->lpVtbl->GetTypeInfo(dolva, 0, LOCALE_USER_DEFAULT, &info)) &&
              info != nullptr,
          where + ": Dolva's type information");
    if (info != nullptr) info->lpVtbl->Release(info);
  }
  if (apis != nullptr) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    CheckText(Narrow(Call(apis, u"WinDir").text()), Narrow(std::wstring(windows) + L"\\"),
              where + ": APIs.WinDir");
  }
}

void Release(IDispatch* d) {
  if (d != nullptr) d->lpVtbl->Release(d);
}

// Creates a class the way the component runtime of Windows does from the keys of c: program
// identifier, class identifier, the in-process server's file, its class factory.
IDispatch* CreateFromKeys(const Classes& c, const wchar_t* progid) {
  CLSID clsid;
  if (FAILED(CLSIDFromString(Read(c, std::wstring(progid) + L"\\CLSID").c_str(), &clsid)))
    return nullptr;
  const std::wstring server = Read(c, L"CLSID\\" + GuidText(clsid) + L"\\InprocServer32");
  HMODULE module = LoadLibraryW(server.c_str());  // kept loaded for the objects it makes
  if (module == nullptr) return nullptr;
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  if (get == nullptr || FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
    return nullptr;
  IDispatch* d = nullptr;
  factory->lpVtbl->CreateInstance(factory, nullptr, IID_IDispatch, reinterpret_cast<void**>(&d));
  factory->lpVtbl->Release(factory);
  return d;
}

// The type library the keys of c name, loaded from the file they give, describes both interfaces
// under the names the interface keys give.
void CheckLibraryFromKeys(const Classes& c) {
  const std::wstring file =
      Read(c, L"TypeLib\\" + GuidText(LIBID_VelmoraSys) + L"\\1.0\\0\\" + kPlatform);
  ITypeLib* lib = nullptr;
  Check(SUCCEEDED(LoadTypeLibEx(file.c_str(), REGKIND_NONE, &lib)),
        "the type library loads from the file its key gives: " + Narrow(file));
  if (lib == nullptr) return;
  for (const IID* iid : {&IID__Dolva, &IID__APIs}) {
    ITypeInfo* info = nullptr;
    BSTR name = nullptr;
    if (SUCCEEDED(lib->lpVtbl->GetTypeInfoOfGuid(lib, *iid, &info))) {
      info->lpVtbl->GetDocumentation(info, MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      info->lpVtbl->Release(info);
    }
    CheckText(std::wstring(name != nullptr ? name : L""), Read(c, L"Interface\\" + GuidText(*iid)),
              "the interface of the type library and its key");
    SysFreeString(name);
  }
  lib->lpVtbl->Release(lib);
}

void Registered(const std::wstring& scope, const std::wstring& dll) {
  const bool user = scope == L"user";
  const Classes& here = user ? kUser : kMachine;
  CheckListing(here, Expected(dll));
  for (const Classes& c : kEveryView) {
    if (c.root != here.root) CheckNothingIn(c);
  }
  // A client of the keys themselves.
  IDispatch* dolva = CreateFromKeys(here, L"VelmoraSys.Dolva");
  IDispatch* apis = CreateFromKeys(here, L"VelmoraSys.APIs");
  CallBoth(dolva, apis, "created from the keys");
  Release(dolva);
  Release(apis);
  CheckLibraryFromKeys(here);
  // A client of the component runtime. Wine's looks in the machine's classes only: a user's
  // registration is not seen there, and the run says so instead of checking it.
  HRESULT hr = S_OK;
  dolva = Create(L"VelmoraSys.Dolva", &hr);
  if (user && UnderWine() && dolva == nullptr) {
    std::printf(
        "NOTE Wine's component runtime does not read HKEY_CURRENT_USER\\Software\\Classes: "
        "CLSIDFromProgID(\"VelmoraSys.Dolva\") answers 0x%08lx here\n",
        static_cast<unsigned long>(hr));
    return;
  }
  apis = Create(L"VelmoraSys.APIs", &hr);
  CallBoth(dolva, apis, "created by program identifier");
  Release(dolva);
  Release(apis);
}

using DllInstallFunction = HRESULT(WINAPI*)(BOOL, PCWSTR);
using EntryFunction = HRESULT(WINAPI*)();

template <typename F>
F Entry(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void Scopes(const std::wstring& dll) {
  HMODULE module = LoadLibraryW(dll.c_str());
  Check(module != nullptr, "the DLL loads");
  if (module == nullptr) return;
  const auto install = Entry<DllInstallFunction>(module, "DllInstall");
  const auto register_server = Entry<EntryFunction>(module, "DllRegisterServer");
  const auto unregister_server = Entry<EntryFunction>(module, "DllUnregisterServer");
  Check(install != nullptr && register_server != nullptr && unregister_server != nullptr,
        "DllInstall, DllRegisterServer and DllUnregisterServer exported");
  if (install == nullptr || register_server == nullptr || unregister_server == nullptr) return;

  struct Row {
    const wchar_t* command_line;
    HRESULT expected;
  };
  // Command lines that choose the user's scope, and ones refused before anything is written.
  const Row rows[] = {
      {L"user", S_OK},
      {L"USER", S_OK},
      {L" User\t", S_OK},
      {L"usuario", E_INVALIDARG},
      {L"user x", E_INVALIDARG},
      {L"/user", E_INVALIDARG},
      {L"machine", E_INVALIDARG},
      {L"u", E_INVALIDARG},
  };
  for (const Row& row : rows) {
    const std::string label = "DllInstall(\"" + Narrow(row.command_line) + "\")";
    CheckCode(install(TRUE, row.command_line), row.expected, label + " installing");
    if (row.expected == S_OK) {
      CheckText(Read(kUser, L"VelmoraSys.Dolva\\CLSID"), GuidText(CLSID_Dolva),
                label + " records Dolva for the user");
    } else {
      CheckNothingIn(kUser);
    }
    CheckCode(install(FALSE, row.command_line), row.expected, label + " removing");
    CheckAbsent();
  }
  CheckCode(install(FALSE, L"user"), S_OK, "removing the user's registration when there is none");

  // The user's registration comes and goes beside the machine's, which stays as it was.
  CheckCode(register_server(), S_OK, "DllRegisterServer");
  const auto machine = Listing(kMachine);
  Check(!machine.empty(), "the machine's registration is there");
  CheckCode(install(TRUE, L"user"), S_OK, "DllInstall(TRUE, \"user\") beside the machine's");
  CheckCode(install(FALSE, L"user"), S_OK, "DllInstall(FALSE, \"user\") beside the machine's");
  Check(Listing(kMachine) == machine, "the machine's registration is left as it was");
  CheckNothingIn(kUser);
  CheckCode(unregister_server(), S_OK, "DllUnregisterServer");
  CheckAbsent();
}

std::wstring ProductInfo(const std::wstring& product, MSIINSTALLCONTEXT context,
                         const wchar_t* property) {
  wchar_t value[256] = {};
  DWORD size = 256;
  if (MsiGetProductInfoExW(product.c_str(), nullptr, context, property, value, &size) !=
      ERROR_SUCCESS)
    return L"";
  return value;
}

std::wstring FileVersion(const std::wstring& file) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return L"(no version record)";
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr)
    return L"(no version record)";
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

void Product(const std::wstring& upgrade_code, const std::wstring& version,
             const std::wstring& dll) {
  std::vector<std::wstring> products;
  wchar_t product[39];
  const std::wstring code =
      upgrade_code.front() == L'{' ? upgrade_code : L"{" + upgrade_code + L"}";
  for (DWORD i = 0; MsiEnumRelatedProductsW(code.c_str(), 0, i, product) == ERROR_SUCCESS; ++i)
    products.emplace_back(product);
  if (version == L"none") {
    Check(products.empty(), "no installed product of the upgrade code, " +
                                std::to_string(products.size()) + " found");
    return;
  }
  Check(products.size() == 1,
        "one installed product of the upgrade code, " + std::to_string(products.size()) + " found");
  for (const auto& p : products) {
    std::wstring context = L"machine";
    std::wstring installed =
        ProductInfo(p, MSIINSTALLCONTEXT_MACHINE, INSTALLPROPERTY_VERSIONSTRING);
    if (installed.empty()) {
      context = L"user";
      installed = ProductInfo(p, MSIINSTALLCONTEXT_USERUNMANAGED, INSTALLPROPERTY_VERSIONSTRING);
    }
    std::printf("product %s, version %s, installed for the %s\n", Narrow(p).c_str(),
                Narrow(installed).c_str(), Narrow(context).c_str());
    CheckText(installed, version, "the installed product's version");
  }
  if (!dll.empty()) CheckText(FileVersion(dll), version + L".0", "the version record of the DLL");
}

void RegistrationFree(bool manifested) {
  HRESULT hr = S_OK;
  IDispatch* dolva = Create(L"VelmoraSys.Dolva", &hr);
  if (!manifested) {
    CheckCode(hr, CO_E_CLASSSTRING, "without the manifest: VelmoraSys.Dolva unknown");
    IDispatch* d = nullptr;
    CheckCode(CoCreateInstance(CLSID_Dolva, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&d)),
              REGDB_E_CLASSNOTREG, "without the manifest: Dolva's class not registered");
    Release(d);
    ITypeLib* lib = nullptr;
    CheckCode(LoadRegTypeLib(LIBID_VelmoraSys, 1, 0, 0, &lib), TYPE_E_LIBNOTREGISTERED,
              "without the manifest: the type library not registered");
    if (lib != nullptr) lib->lpVtbl->Release(lib);
    Release(dolva);
    return;
  }
  IDispatch* apis = Create(L"VelmoraSys.APIs", &hr);
  CallBoth(dolva, apis, "through the application's manifest");
  Release(dolva);
  Release(apis);
  // An early-bound client creates the class by its identifier from the type library. (The
  // program identifier may answer another identifier that stands for it in the activation
  // context, so the two are not compared.)
  IDispatch* by_id = nullptr;
  Check(SUCCEEDED(CoCreateInstance(CLSID_Dolva, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&by_id))),
        "Dolva created by its class identifier");
  if (by_id != nullptr) {
    CheckText(Call(by_id, u"StrZero", Args().Text(u"42").Int(5)).text(), u"00042",
              "by its class identifier: StrZero");
  }
  Release(by_id);
  ITypeLib* lib = nullptr;
  Check(SUCCEEDED(LoadRegTypeLib(LIBID_VelmoraSys, 1, 0, 0, &lib)),
        "the type library found through the manifest");
  if (lib != nullptr) {
    ITypeInfo* info = nullptr;
    Check(SUCCEEDED(lib->lpVtbl->GetTypeInfoOfGuid(lib, IID__APIs, &info)),
          "the type library describes _APIs");
    if (info != nullptr) info->lpVtbl->Release(info);
    lib->lpVtbl->Release(lib);
  }
  CheckAbsent();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const auto arg = [&](int i) { return argc > i ? std::wstring(argv[i]) : std::wstring(); };
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL CoInitialize\n");
    return 1;
  }
  if (command == L"scopes" && argc == 3) {
    Scopes(arg(2));
  } else if (command == L"registered" && argc == 4 && (arg(2) == L"user" || arg(2) == L"machine")) {
    Registered(arg(2), arg(3));
  } else if (command == L"absent" && argc == 2) {
    CheckAbsent();
  } else if (command == L"product" && (argc == 4 || argc == 5)) {
    Product(arg(2), arg(3), arg(4));
  } else if ((command == L"regfree" || command == L"unmanifested") && argc == 2) {
    RegistrationFree(command == L"regfree");
  } else {
    std::printf(
        "usage: deploy_check scopes DLL | registered user|machine DLL | absent |\n"
        "       product UPGRADE_CODE VERSION|none [DLL] | regfree | unmanifested\n");
    return 2;
  }
  CoUninitialize();
  return Summary("deploy-" + Narrow(command));
}
