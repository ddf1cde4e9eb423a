// A C++ client of VelmoraSys.dll: creates both classes by program identifier, calls them by
// name through GetIDsOfNames/Invoke (as a script host does) and through their interface tables
// (client_table.cpp), and checks that the library may unload once everything is released.
//
// Run under Wine by run.sh after the DLL was registered. Prints each failure and a summary
// line "SUMMARY client: N checks, F failures"; the exit status is the failure count.
#include <cstdio>
#include <string>
#include <vector>

#include "client.h"
#include "velmora/utf.h"
#include "win32/win_api.h"

namespace velmora::client {

namespace {

int checks = 0;
int failures = 0;

std::string Narrow(const std::u16string& s) { return ToUtf8(s); }

std::u16string Text(BSTR b) {
  return b == nullptr ? std::u16string()
                      : std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

const OLECHAR* W(const char16_t* s) { return reinterpret_cast<const OLECHAR*>(s); }

// Owns the VARIANTs of one call.
struct Args {
  std::vector<VARIANT> values;        // in the caller's order
  std::vector<std::u16string> names;  // the last names.size() values are named
  ~Args() {
    for (auto& v : values) VariantClear(&v);
  }
  Args& Text(const char16_t* s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(W(s));
    values.push_back(v);
    return *this;
  }
  Args& Int(short n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I2;
    V_I2(&v) = n;
    values.push_back(v);
    return *this;
  }
  Args& Bool(bool b) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
    values.push_back(v);
    return *this;
  }
  Args& Missing() {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    values.push_back(v);
    return *this;
  }
  Args& Ref(VARIANT* target) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&v) = target;
    values.push_back(v);
    return *this;
  }
  Args& RefText(BSTR* target) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&v) = target;
    values.push_back(v);
    return *this;
  }
  Args& Object(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    if (object != nullptr) object->AddRef();
    values.push_back(v);
    return *this;
  }
  Args& Raw(VARIANT v) {
    values.push_back(v);
    return *this;
  }
  Args& Named(const char16_t* name) {
    names.emplace_back(name);
    return *this;
  }
};

struct Outcome {
  HRESULT hr = S_OK;
  VARIANT result;
  std::u16string description;
  std::u16string source;
  long scode = 0;
  Outcome() { VariantInit(&result); }
  Outcome(Outcome&& other) noexcept
      : hr(other.hr),
        result(other.result),
        description(std::move(other.description)),
        source(std::move(other.source)),
        scode(other.scode) {
    VariantInit(&other.result);
  }
  Outcome(const Outcome&) = delete;
  Outcome& operator=(const Outcome&) = delete;
  ~Outcome() { VariantClear(&result); }
  long number() const { return V_VT(&result) == VT_I4 ? V_I4(&result) : -99999; }
  VARTYPE type() const { return V_VT(&result); }
  VARIANT_BOOL boolean() const { return V_VT(&result) == VT_BOOL ? V_BOOL(&result) : 99; }
  IDispatch* object() const { return V_VT(&result) == VT_DISPATCH ? V_DISPATCH(&result) : nullptr; }
  std::u16string text() const {
    return V_VT(&result) == VT_BSTR ? Text(V_BSTR(&result)) : u"(not a text)";
  }
};

// Calls a member by name with DISPATCH_METHOD | DISPATCH_PROPERTYGET (or the flags given).
Outcome Call(IDispatch* object, const char16_t* member, const Args& args = Args(),
             WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
  Outcome out;
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(W(member))};
  for (auto& n : args.names) names.push_back(const_cast<LPOLESTR>(W(n.c_str())));
  std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
  out.hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                 LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(out.hr)) return out;
  // rgvarg holds the arguments last first; the named ones are the last of the caller's list.
  std::vector<VARIANT> reversed(args.values.rbegin(), args.values.rend());
  std::vector<DISPID> named(ids.begin() + 1, ids.end());
  std::vector<DISPID> named_reversed(named.rbegin(), named.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), named_reversed.data(), static_cast<UINT>(reversed.size()),
                    static_cast<UINT>(named_reversed.size())};
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  out.hr = object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out.result, &info,
                          nullptr);
  if (out.hr == DISP_E_EXCEPTION) {
    out.description = Text(info.bstrDescription);
    out.source = Text(info.bstrSource);
    out.scode = info.scode;
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
  }
  return out;
}

void CheckError(const Outcome& o, int number, const std::u16string& description,
                const std::string& what) {
  Check(o.hr == DISP_E_EXCEPTION, what + ": fails with an exception");
  CheckNumber(o.scode, static_cast<long>(0x800A0000 | number), what + ": error number");
  CheckText(o.description, description, what + ": description");
  CheckText(o.source, u"VelmoraSys.Dolva", what + ": source");
}

// A host object that counts its references and answers "Name" (and nothing else), standing for a
// host form without a "Controls" collection.
class HostStub final : public IDispatch {
 public:
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count == 1 && lstrcmpiW(names[0], L"Name") == 0) {
      ids[0] = 1;
      return S_OK;
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id != 1) return DISP_E_MEMBERNOTFOUND;
    if (result != nullptr) {
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(L"frmPrueba");
    }
    return S_OK;
  }
};

IDispatch* Create(const wchar_t* progid) {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(progid, &clsid))) return nullptr;
  IDispatch* object = nullptr;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&object));
  return object;
}

std::wstring RegistryText(const std::wstring& key, const wchar_t* value) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return L"(missing)";
  }
  return buffer;
}

void Registration() {
  for (const wchar_t* progid : {L"VelmoraSys.Dolva", L"VelmoraSys.APIs"}) {
    CLSID clsid{};
    const std::string what =
        "registration of " + Narrow(std::u16string(reinterpret_cast<const char16_t*>(progid)));
    Check(SUCCEEDED(CLSIDFromProgID(progid, &clsid)), what + ": program identifier");
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    const std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    Check(RegistryText(key, L"ThreadingModel") == L"Apartment", what + ": ThreadingModel");
    const std::wstring path = RegistryText(key, nullptr);
    Check(path.size() > 14 && lstrcmpiW(path.c_str() + path.size() - 14, L"VelmoraSys.dll") == 0,
          what + ": InprocServer32 names the DLL");
    Check(RegistryText(std::wstring(L"CLSID\\") + text + L"\\TypeLib", nullptr) != L"(missing)",
          what + ": type library recorded");
  }
}

void Numbering() {
  IDispatch* first = Create(L"VelmoraSys.Dolva");
  IDispatch* second = Create(L"VelmoraSys.Dolva");
  Check(first != nullptr && second != nullptr, "numbering: both instances created");
  if (first == nullptr || second == nullptr) return;
  CheckNumber(Call(first, u"DebugID").number(), 1, "numbering: first instance");
  CheckNumber(Call(second, u"DebugID").number(), 2, "numbering: second instance");
  first->Release();
  CheckNumber(Call(second, u"DebugID").number(), 2, "numbering: second after first ended");
  IDispatch* third = Create(L"VelmoraSys.Dolva");
  CheckNumber(Call(third, u"DebugID").number(), 3, "numbering: third instance");
  CheckNumber(Call(third, u"debugid").type(), VT_I4, "numbering: names ignore case");
  third->Release();
  second->Release();
}

// GetIDsOfNames finds every member the type library describes under the type library's number,
// whatever the case of its letters, and nothing for a name one letter longer.
void NamesAgreeWithTheTypeLibrary(IDispatch* object, const std::string& which) {
  ITypeInfo* info = nullptr;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || info == nullptr) {
    Check(false, which + ": type information");
    return;
  }
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  const UINT funcs = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  int members = 0;
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    BSTR name = nullptr;
    UINT got = 0;
    const bool own = (f->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0 &&
                     SUCCEEDED(info->GetNames(f->memid, &name, 1, &got)) && got == 1;
    if (own) {
      const std::u16string exact = Text(name);
      std::u16string lower = exact, upper = exact;
      for (auto& c : lower) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
      for (auto& c : upper) c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
      for (const std::u16string& n : {exact, lower, upper}) {
        LPOLESTR p = const_cast<LPOLESTR>(W(n.c_str()));
        DISPID id = DISPID_UNKNOWN;
        object->GetIDsOfNames(IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id);
        CheckNumber(id, f->memid, which + ": GetIDsOfNames(" + Narrow(n) + ")");
      }
      const std::u16string longer = exact + u"x";
      LPOLESTR p = const_cast<LPOLESTR>(W(longer.c_str()));
      DISPID id = 0;
      CheckNumber(object->GetIDsOfNames(IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id),
                  DISP_E_UNKNOWNNAME, which + ": GetIDsOfNames(" + Narrow(longer) + ")");
      ++members;
    }
    SysFreeString(name);
    info->ReleaseFuncDesc(f);
  }
  Check(members > 0, which + ": members in the type library");
}

void ByName(IDispatch* d) {
  CheckText(Call(d, u"StrZero", Args().Text(u"7").Int(3)).text(), u"007", "StrZero(\"7\", 3)");
  CheckText(Call(d, u"StrZero", Args().Text(u"7").Int(3).Missing()).text(), u"007",
            "StrZero with sFill passed as missing");
  CheckText(Call(d, u"StrZero", Args().Text(u" 42 ").Int(5).Text(u"*")).text(), u"***42",
            "StrZero with a fill text");
  CheckText(Call(d, u"STRZERO", Args().Int(3).Named(u"iLen").Text(u"7").Named(u"sDat")).text(),
            u"007", "StrZero with named arguments in another order");
  CheckText(Call(d, u"StrZero", Args().Text(u"7").Int(3).Text(u"x").Named(u"SFILL")).text(), u"xx7",
            "StrZero with a named optional argument");

  // By-reference write-back into the caller's VARIANT and into a typed variable.
  VARIANT hours;
  VariantInit(&hours);
  V_VT(&hours) = VT_BSTR;
  V_BSTR(&hours) = SysAllocString(L"");
  Outcome fill = Call(d, u"Fillhours", Args().Ref(&hours));
  CheckText(fill.text(), u"00:00", "Fillhours by name");
  CheckText(Text(V_BSTR(&hours)), u"00:00", "Fillhours writes back into a VARIANT variable");
  BSTR typed = SysAllocString(L"");
  Call(d, u"Fillhours", Args().RefText(&typed));
  CheckText(Text(typed), u"00:00", "Fillhours writes back into a String variable");
  SysFreeString(typed);
  VariantClear(&hours);

  // "Año" is "Ano" in the type library: by name both are accepted.
  CheckNumber(Call(d, u"Bisiesto", Args().Int(2024).Named(u"Año")).boolean(), VARIANT_TRUE,
              "Bisiesto(Año:=2024)");
  CheckNumber(Call(d, u"Bisiesto", Args().Int(2023).Named(u"ANO")).boolean(), VARIANT_FALSE,
              "Bisiesto(Ano:=2023)");

  // Calling errors.
  CheckError(Call(d, u"StrZero"), 449, u"El argumento no es opcional", "StrZero without sDat");
  CheckError(Call(d, u"StrZero", Args().Text(u"7").Int(3).Text(u"0").Text(u"extra")), 450,
             u"Número de argumentos incorrecto o asignación de propiedad no válida",
             "StrZero with four arguments");
  CheckError(Call(d, u"StrZero", Args().Text(u"7").Text(u"tres")), 13, u"No coinciden los tipos",
             "StrZero with a text length");
  VARIANT null_value;
  VariantInit(&null_value);
  V_VT(&null_value) = VT_NULL;
  CheckError(Call(d, u"StrZero", Args().Raw(null_value).Int(3)), 94, u"Uso no válido de Null",
             "StrZero with Null");
  CheckError(Call(d, u"StrZero", Args().Text(u"7").Int(-32768)), 6, u"Desbordamiento",
             "StrZero with a shortfall past 16 bits");
  VARIANT array;
  VariantInit(&array);
  V_VT(&array) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&array) = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  CheckError(Call(d, u"StrZero", Args().Raw(array).Int(3)), 13, u"No coinciden los tipos",
             "StrZero with an array");
  CheckNumber(Call(d, u"StrZero", Args().Text(u"7").Named(u"sNada")).hr, DISP_E_UNKNOWNNAME,
              "an unknown named argument");
  CheckNumber(Call(d, u"NoSuchMethod").hr, DISP_E_UNKNOWNNAME, "an unknown member");

  // A by-number call the object does not have, and the wrong kind of call for a member.
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT r;
  VariantInit(&r);
  CheckNumber(d->Invoke(9999, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND, "an unknown dispatch number");
  CheckNumber(Call(d, u"StrZero", Args().Text(u"7"), DISPATCH_PROPERTYPUT).hr,
              DISP_E_MEMBERNOTFOUND, "writing a method as a property");
  CheckNumber(d->Invoke(1, IID_IDispatch, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE, "a call with a non-null interface id");
}

void Fields(IDispatch* d) {
  CheckText(Call(d, u"Name").text(), u"", "Name starts empty");
  CheckNumber(Call(d, u"Si_Password").boolean(), VARIANT_FALSE, "Si_Password starts false");
  CheckNumber(Call(d, u"Control").type(), VT_DISPATCH, "Control reads as an object");
  Check(Call(d, u"Control").object() == nullptr, "Control starts as Nothing");
  Check(Call(d, u"gsUserCode", Args().Text(u"JPEREZ"), DISPATCH_PROPERTYPUT).hr == S_OK,
        "gsUserCode written");
  CheckText(Call(d, u"gsUserCode").text(), u"JPEREZ", "gsUserCode reads back");
  Call(d, u"Si_Password", Args().Text(u"Verdadero"), DISPATCH_PROPERTYPUT);
  CheckNumber(Call(d, u"Si_Password").boolean(), VARIANT_TRUE,
              "Si_Password takes the locale's true text");

  // An object field keeps the host's very object and releases it with the instance.
  HostStub host;
  Check(Call(d, u"Control", Args().Object(&host), DISPATCH_PROPERTYPUTREF).hr == S_OK,
        "Control replaced by reference");
  {
    Outcome got = Call(d, u"Control");
    Check(V_VT(&got.result) == VT_DISPATCH && V_DISPATCH(&got.result) == &host,
          "Control reads back the host's object");
  }
  CheckNumber(Call(d, u"Control", Args().Object(&host), DISPATCH_PROPERTYPUT).hr,
              DISP_E_MEMBERNOTFOUND, "Control has no Let form");
  CheckNumber(Call(d, u"Name", Args().Object(&host), DISPATCH_PROPERTYPUTREF).hr,
              DISP_E_MEMBERNOTFOUND, "Name has no Set form");

  // A host form without "Controls": the numbered error, nothing else.
  CheckError(Call(d, u"Botones", Args().Bool(true).Object(&host)), 438,
             u"El objeto no admite esta propiedad o método", "Botones on a form without Controls");
  Call(d, u"Control", Args().Object(nullptr), DISPATCH_PROPERTYPUTREF);
  Check(Call(d, u"Control").object() == nullptr, "Control set to Nothing");
  CheckNumber(host.references, 1, "the host's object is released");
}

void ErrorInfoChecks(IDispatch* d) {
  ISupportErrorInfo* support = nullptr;
  Check(SUCCEEDED(d->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))),
        "ISupportErrorInfo");
  ITypeInfo* type = nullptr;
  Check(SUCCEEDED(d->GetTypeInfo(0, 0, &type)) && type != nullptr, "GetTypeInfo");
  if (support == nullptr || type == nullptr) return;
  TYPEATTR* attr = nullptr;
  type->GetTypeAttr(&attr);
  Check(support->InterfaceSupportsErrorInfo(attr->guid) == S_OK,
        "errors of _Dolva carry IErrorInfo");
  Check(support->InterfaceSupportsErrorInfo(IID_IClassFactory) == S_FALSE,
        "other interfaces do not");
  type->ReleaseTypeAttr(attr);
  BSTR name = nullptr;
  type->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  CheckText(Text(name), u"_Dolva", "the type information is that of _Dolva");
  SysFreeString(name);
  type->Release();
  support->Release();
}

void Unloading() {
  HMODULE module = GetModuleHandleW(L"VelmoraSys.dll");
  Check(module != nullptr, "the DLL is loaded");
  if (module == nullptr) return;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  using GetClass = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto can_unload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  auto get_class = reinterpret_cast<GetClass>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  Check(can_unload != nullptr && get_class != nullptr, "entry points found by name");
  if (can_unload == nullptr || get_class == nullptr) return;

  CheckNumber(can_unload(), S_OK, "DllCanUnloadNow with nothing alive");
  IDispatch* d = Create(L"VelmoraSys.Dolva");
  CheckNumber(can_unload(), S_FALSE, "DllCanUnloadNow with an object alive");
  d->Release();
  CheckNumber(can_unload(), S_OK, "DllCanUnloadNow after the object is released");

  CLSID clsid{};
  CLSIDFromProgID(L"VelmoraSys.APIs", &clsid);
  IClassFactory* factory = nullptr;
  Check(SUCCEEDED(get_class(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))),
        "DllGetClassObject(APIs)");
  if (factory != nullptr) {
    factory->LockServer(TRUE);
    CheckNumber(can_unload(), S_FALSE, "DllCanUnloadNow with a lock");
    factory->LockServer(FALSE);
    CheckNumber(can_unload(), S_OK, "DllCanUnloadNow after unlocking");
    IUnknown* inner = nullptr;
    HostStub outer;
    CheckNumber(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)),
                CLASS_E_NOAGGREGATION, "no aggregation");
    CheckNumber(
        factory->CreateInstance(nullptr, IID_IClassFactory, reinterpret_cast<void**>(&inner)),
        E_NOINTERFACE, "an interface the object does not have");
    CheckNumber(can_unload(), S_OK, "a failed creation leaves nothing alive");
    factory->Release();
  }
  void* none = nullptr;
  CheckNumber(get_class(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE,
              "DllGetClassObject of another class");

  CoFreeUnusedLibrariesEx(0, 0);
  Check(GetModuleHandleW(L"VelmoraSys.dll") == nullptr,
        "COM unloads the DLL once nothing is alive");
}

// Library state kept per thread (PhotoWay's photo texts) outlives the objects: the runtime keeps
// the DLL loaded until the thread ends so that the state can be destroyed then. The library
// still answers that it may be unloaded, and the process ends cleanly (run.sh checks the exit
// status).
void ThreadStateAtExit() {
  IDispatch* d = Create(L"VelmoraSys.Dolva");
  Check(d != nullptr, "a Dolva after the library was unloaded");
  if (d == nullptr) return;
  // Unattended, the capture window closes itself at once: the path stays empty.
  const Outcome photo = Call(d, u"PhotoWay", Args().Text(u" juan ").Text(u"C:\\FOTOS"));
  Check(photo.hr == S_OK, "PhotoWay");
  CheckText(photo.text(), u"", "PhotoWay closed at once");
  d->Release();
  HMODULE module = GetModuleHandleW(L"VelmoraSys.dll");
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto can_unload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  Check(can_unload != nullptr && can_unload() == S_OK,
        "DllCanUnloadNow with only the thread's state left");
  CoFreeUnusedLibrariesEx(0, 0);
}

}  // namespace

void Check(bool ok, const std::string& what) {
  ++checks;
  if (!ok) {
    ++failures;
    std::printf("FAIL %s\n", what.c_str());
  }
}

void CheckText(const std::u16string& actual, const std::u16string& expected,
               const std::string& what) {
  Check(actual == expected,
        what + ": got \"" + Narrow(actual) + "\", expected \"" + Narrow(expected) + "\"");
}

void CheckNumber(long long actual, long long expected, const std::string& what) {
  Check(actual == expected,
        what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

}  // namespace velmora::client

int wmain() {
  using namespace velmora::client;
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL CoInitialize\n");
    return 1;
  }
  Numbering();  // first, so that the process's instances count from 1
  Registration();
  IDispatch* d = Create(L"VelmoraSys.Dolva");
  IDispatch* a = Create(L"VelmoraSys.APIs");
  Check(d != nullptr && a != nullptr, "both classes created by program identifier");
  if (d != nullptr && a != nullptr) {
    NamesAgreeWithTheTypeLibrary(d, "Dolva");
    NamesAgreeWithTheTypeLibrary(a, "APIs");
    ByName(d);
    Fields(d);
    ErrorInfoChecks(d);
    TableChecks(d, a);
    CheckText(Call(a, u"TempDir").text(), u"C:\\windows\\TEMP\\", "APIs.TempDir by name");
  }
  if (d != nullptr) d->Release();
  if (a != nullptr) a->Release();
  Unloading();
  ThreadStateAtExit();
  CoUninitialize();
  std::printf("SUMMARY client: %d checks, %d failures\n", checks, failures);
  return failures;
}
