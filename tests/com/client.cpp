// A C++ client of VelmoraSys.dll, for what a script cannot do or see: named and explicitly missing
// arguments, typed by-reference variables, the HRESULTs and error information of failed calls, a
// host object's references, calls through the interface tables (client_table.cpp) and whether
// the library may unload once everything is released.
//
// Run under Wine by run.sh after the DLL was registered; the VBScript files check the results of
// the routines themselves, deploy_check.cpp the keys a registration writes. Prints each failure and
// "SUMMARY client: N checks, F failures"; the exit status is the failure count.
#include <string>

#include "harness.h"

namespace velmora::client {

// Calls through the interface tables of a _Dolva and an _APIs pointer (as IUnknown*, the form
// COM gave them); client_table.cpp.
void TableChecks(void* dolva, void* apis);

namespace {

using namespace velmora::comtest;

// A raised runtime error: its number in FACILITY_CONTROL, its standard description and the
// class as its source.
void CheckError(const Outcome& o, int number, const std::u16string& description,
                const std::string& what) {
  CheckCode(o.hr, DISP_E_EXCEPTION, what + ": fails with an exception");
  CheckCode(o.scode, static_cast<HRESULT>(0x800A0000 | number), what + ": error number");
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
        LPOLESTR p = const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(n.c_str()));
        DISPID id = DISPID_UNKNOWN;
        object->GetIDsOfNames(IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id);
        CheckNumber(id, f->memid, which + ": GetIDsOfNames(" + Narrow(n) + ")");
      }
      const std::u16string longer = exact + u"x";
      LPOLESTR p = const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(longer.c_str()));
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
  // Named arguments in any order and any case ("Año" is "Ano" in the type library), and an
  // optional argument passed as missing.
  CheckText(Call(d, u"StrZero", Args().Text(u"7").Int(3).Missing()).text(), u"007",
            "sFill passed as missing");
  CheckText(Call(d, u"STRZERO", Args().Int(3).Named(u"iLen").Text(u"7").Named(u"sDat")).text(),
            u"007", "named arguments in another order");
  CheckText(Call(d, u"StrZero", Args().Text(u"7").Int(3).Text(u"x").Named(u"SFILL")).text(), u"xx7",
            "a named optional argument");
  CheckNumber(Call(d, u"Bisiesto", Args().Int(2024).Named(u"Año")).boolean(), VARIANT_TRUE,
              "Bisiesto(Año:=2024)");
  CheckNumber(Call(d, u"Bisiesto", Args().Int(2023).Named(u"ANO")).boolean(), VARIANT_FALSE,
              "Bisiesto(ANO:=2023)");

  // A by-reference String variable (not a Variant) written back.
  BSTR typed = SysAllocString(L"");
  Call(d, u"Fillhours", Args().RefText(&typed));
  CheckText(Text(typed), u"00:00", "Fillhours writes back into a String variable");
  SysFreeString(typed);

  VARIANT array;
  VariantInit(&array);
  V_VT(&array) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&array) = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  CheckError(Call(d, u"StrZero", Args().Raw(array).Int(3)), 13, u"No coinciden los tipos",
             "StrZero with an array");

  // Calls the object refuses before running anything.
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT r;
  VariantInit(&r);
  CheckCode(Call(d, u"StrZero", Args().Text(u"7").Named(u"sNada")).hr, DISP_E_UNKNOWNNAME,
            "an unknown named argument");
  CheckCode(Call(d, u"NoSuchMethod").hr, DISP_E_UNKNOWNNAME, "an unknown member");
  CheckCode(d->Invoke(9999, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND, "an unknown dispatch number");
  CheckCode(Call(d, u"StrZero", Args().Text(u"7"), DISPATCH_PROPERTYPUT).hr, DISP_E_MEMBERNOTFOUND,
            "writing a method as a property");
  CheckCode(d->Invoke(1, IID_IDispatch, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE, "a call with a non-null interface id");
}

void Fields(IDispatch* d) {
  Call(d, u"Si_Password", Args().Text(u"Verdadero"), DISPATCH_PROPERTYPUT);
  CheckNumber(Call(d, u"Si_Password").boolean(), VARIANT_TRUE,
              "Si_Password takes the locale's true text");

  // An object field keeps the host's very object and releases it with the instance.
  HostStub host;
  CheckCode(Call(d, u"Control", Args().Object(&host), DISPATCH_PROPERTYPUTREF).hr, S_OK,
            "Control replaced by reference");
  Check(Call(d, u"Control").object() == &host, "Control reads back the host's object");
  Call(d, u"Control", Args().Object(nullptr), DISPATCH_PROPERTYPUTREF);
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
  CheckCode(support->InterfaceSupportsErrorInfo(attr->guid), S_OK,
            "errors of _Dolva carry IErrorInfo");
  CheckCode(support->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE,
            "other interfaces do not");
  type->ReleaseTypeAttr(attr);
  BSTR name = nullptr;
  type->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  CheckText(Text(name), u"_Dolva", "the type information is that of _Dolva");
  SysFreeString(name);
  type->Release();
  support->Release();
}

using CanUnload = HRESULT(STDAPICALLTYPE*)();

CanUnload CanUnloadNow() {
  HMODULE module = GetModuleHandleW(L"VelmoraSys.dll");
  if (module == nullptr) return nullptr;
  return reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
}

void Unloading() {
  const CanUnload can_unload = CanUnloadNow();
  using GetClass = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get_class = reinterpret_cast<GetClass>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"VelmoraSys.dll"), "DllGetClassObject")));
  Check(can_unload != nullptr && get_class != nullptr, "the DLL loaded, its entry points found");
  if (can_unload == nullptr || get_class == nullptr) return;

  CheckCode(can_unload(), S_OK, "DllCanUnloadNow with nothing alive");
  IDispatch* d = Create(L"VelmoraSys.Dolva");
  CheckCode(can_unload(), S_FALSE, "DllCanUnloadNow with an object alive");
  d->Release();
  CheckCode(can_unload(), S_OK, "DllCanUnloadNow after the object is released");

  CLSID clsid{};
  CLSIDFromProgID(L"VelmoraSys.APIs", &clsid);
  IClassFactory* factory = nullptr;
  Check(SUCCEEDED(get_class(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))),
        "DllGetClassObject(APIs)");
  if (factory != nullptr) {
    factory->LockServer(TRUE);
    CheckCode(can_unload(), S_FALSE, "DllCanUnloadNow with a lock");
    factory->LockServer(FALSE);
    CheckCode(can_unload(), S_OK, "DllCanUnloadNow after unlocking");
    IUnknown* inner = nullptr;
    HostStub outer;
    CheckCode(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)),
              CLASS_E_NOAGGREGATION, "no aggregation");
    CheckCode(factory->CreateInstance(nullptr, IID_IClassFactory, reinterpret_cast<void**>(&inner)),
              E_NOINTERFACE, "an interface the object does not have");
    CheckCode(can_unload(), S_OK, "a failed creation leaves nothing alive");
    factory->Release();
  }
  void* none = nullptr;
  CheckCode(get_class(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE,
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
  CheckText(Call(d, u"PhotoWay", Args().Text(u" juan ").Text(u"C:\\FOTOS")).text(), u"",
            "PhotoWay closed at once");
  d->Release();
  const CanUnload can_unload = CanUnloadNow();
  Check(can_unload != nullptr && can_unload() == S_OK,
        "DllCanUnloadNow with only the thread's state left");
  CoFreeUnusedLibrariesEx(0, 0);
}

}  // namespace

}  // namespace velmora::client

int wmain() {
  using namespace velmora::client;
  using namespace velmora::comtest;
  if (FAILED(CoInitialize(nullptr))) {
    Check(false, "CoInitialize");
    return Summary("client");
  }
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
  }
  if (d != nullptr) d->Release();
  if (a != nullptr) a->Release();
  Unloading();
  ThreadStateAtExit();
  CoUninitialize();
  return Summary("client");
}
