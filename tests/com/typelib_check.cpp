// Compares the type library embedded in VelmoraSys.dll with the dispatch table of the core, slot
// by slot: member kind, name, dispatch number, vtable offset, parameter names, types, passing,
// optionality and defaults, and the result. Any difference is a drift between the IDL and the
// table and fails the run.
//
// Usage: velmora_typelib_check PATH\VelmoraSys.dll [win32]
//   win32: the DLL is the 32-bit build (its type library is of SYS_WIN32); by default the type
//   library is expected for this program's own platform.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "velmora/dispatch.h"
#include "win32/win_api.h"

namespace {

using velmora::Interface;
using velmora::Kind;
using velmora::Operation;
using velmora::Param;
using velmora::ParamType;

using velmora::comtest::Check;
using velmora::comtest::CheckNumber;
using velmora::comtest::CheckText;
using velmora::comtest::Narrow;

std::string Narrow(BSTR s) { return Narrow(velmora::comtest::Text(s)); }

void Fail(const std::string& where, const std::string& what) { Check(false, where + ": " + what); }

void Expect(const std::string& where, const char* what, long long actual, long long expected) {
  CheckNumber(actual, expected, where + ": " + what);
}

void ExpectText(const std::string& where, const char* what, const std::string& actual,
                const std::string& expected) {
  CheckText(actual, expected, where + ": " + what);
}

VARTYPE VtOf(ParamType t) {
  switch (t) {
    case ParamType::kByte: return VT_UI1;
    case ParamType::kInteger: return VT_I2;
    case ParamType::kLong: return VT_I4;
    case ParamType::kCurrency: return VT_CY;
    case ParamType::kDate: return VT_DATE;
    case ParamType::kText: return VT_BSTR;
    case ParamType::kBoolean: return VT_BOOL;
    case ParamType::kObject: return VT_DISPATCH;
    case ParamType::kVariant: return VT_VARIANT;
    case ParamType::kNone: break;
  }
  return VT_EMPTY;
}

INVOKEKIND InvokeKindOf(Kind k) {
  switch (k) {
    case Kind::kMethod: return INVOKE_FUNC;
    case Kind::kPropGet: return INVOKE_PROPERTYGET;
    case Kind::kPropPut: return INVOKE_PROPERTYPUT;
    case Kind::kPropPutRef: return INVOKE_PROPERTYPUTREF;
  }
  return INVOKE_FUNC;
}

// The type description of a parameter: the type itself, behind a pointer when by reference.
VARTYPE Pointee(const TYPEDESC& t, bool& pointer) {
  pointer = t.vt == VT_PTR;
  return pointer ? t.lptdesc->vt : t.vt;
}

// The dispatch numbers: a member's position among the interface's distinct names, from 1.
std::vector<std::u16string_view> MemberNames(const std::vector<const Operation*>& ops) {
  std::vector<std::u16string_view> names;
  for (const Operation* op : ops) {
    bool seen = false;
    for (auto n : names) seen = seen || n == op->name;
    if (!seen) names.push_back(op->name);
  }
  return names;
}

// Whether the IDL carries the default of a parameter: the IDL compiler writes none on a
// VARIANT and no text default on a by-reference text; those are applied by the server.
bool DefaultInTypeLibrary(const Param& p) {
  using K = velmora::DefaultValue::Kind;
  if (p.default_value.kind == K::kNone) return false;
  if (p.type == ParamType::kVariant) return false;
  if (p.by_ref && p.type == ParamType::kText) return false;
  return true;
}

void CheckParam(const std::string& where, const Param& p, const ELEMDESC& e) {
  const std::string name = where + " " + Narrow(p.name);
  bool pointer = false;
  const VARTYPE vt = Pointee(e.tdesc, pointer);
  Expect(name, "type", static_cast<int>(vt), static_cast<int>(VtOf(p.type)));
  Expect(name, "by reference", pointer, p.by_ref);
  const USHORT flags = e.paramdesc.wParamFlags;
  Expect(name, "[in]", (flags & PARAMFLAG_FIN) != 0, true);
  Expect(name, "[out]", (flags & PARAMFLAG_FOUT) != 0, p.by_ref);
  Expect(name, "[optional]", (flags & PARAMFLAG_FOPT) != 0, p.optional);
  const bool has_default = (flags & PARAMFLAG_FHASDEFAULT) != 0;
  Expect(name, "[defaultvalue]", has_default, DefaultInTypeLibrary(p));
  if (has_default && DefaultInTypeLibrary(p) && e.paramdesc.pparamdescex != nullptr) {
    VARIANT d = e.paramdesc.pparamdescex->varDefaultValue;
    VARIANT b;
    VariantInit(&b);
    if (FAILED(VariantChangeType(&b, &d, 0, VT_BOOL))) {
      Fail(name, "default is no Boolean");
    } else {
      Expect(name, "default", V_BOOL(&b) != VARIANT_FALSE, p.default_value.boolean);
    }
  }
}

void CheckInterface(ITypeLib* lib, Interface iface, const char* iface_name) {
  const auto ops = velmora::OperationsOf(iface);
  const auto members = MemberNames(ops);

  ITypeInfo* dispatch = nullptr;
  UINT count = lib->GetTypeInfoCount();
  for (UINT i = 0; i < count && dispatch == nullptr; ++i) {
    BSTR n = nullptr;
    lib->GetDocumentation(static_cast<INT>(i), &n, nullptr, nullptr, nullptr);
    if (Narrow(n) == iface_name) lib->GetTypeInfo(i, &dispatch);
    SysFreeString(n);
  }
  if (dispatch == nullptr) {
    Fail(iface_name, "not in the type library");
    return;
  }
  TYPEATTR* attr = nullptr;
  dispatch->GetTypeAttr(&attr);
  const WORD dual = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
  Expect(iface_name, "dispatch flags", static_cast<int>(attr->wTypeFlags),
         static_cast<int>(dual | TYPEFLAG_FDISPATCHABLE));
  Expect(iface_name, "kind", static_cast<int>(attr->typekind), static_cast<int>(TKIND_DISPATCH));
  dispatch->ReleaseTypeAttr(attr);

  // The dual interface's table part holds the slots in vtable order.
  HREFTYPE ref = 0;
  ITypeInfo* table = nullptr;
  if (FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) ||
      FAILED(dispatch->GetRefTypeInfo(ref, &table))) {
    Fail(iface_name, "no vtable part");
    dispatch->Release();
    return;
  }
  table->GetTypeAttr(&attr);
  Expect(iface_name, "interface flags", static_cast<int>(attr->wTypeFlags),
         static_cast<int>(dual | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE));
  Expect(iface_name, "interface kind", static_cast<int>(attr->typekind),
         static_cast<int>(TKIND_INTERFACE));
  Expect(iface_name, "slots", attr->cFuncs, static_cast<long long>(ops.size()));
  const std::size_t slots = std::min<std::size_t>(attr->cFuncs, ops.size());
  table->ReleaseTypeAttr(attr);

  for (std::size_t i = 0; i < slots; ++i) {
    const Operation& op = *ops[i];
    FUNCDESC* f = nullptr;
    table->GetFuncDesc(static_cast<UINT>(i), &f);
    std::string where = std::string(iface_name) + " slot " + std::to_string(i);
    BSTR names[32] = {};
    UINT got = 0;
    table->GetNames(f->memid, names, 32, &got);
    // A property's reading and writing share a number; GetNames answers for the first.
    ExpectText(where, "name", Narrow(names[0]), Narrow(op.name));
    where += " " + Narrow(op.name);
    Expect(where, "kind", static_cast<int>(f->invkind), static_cast<int>(InvokeKindOf(op.kind)));
    long number = 0;
    for (std::size_t m = 0; m < members.size(); ++m) {
      if (members[m] == op.name) number = static_cast<long>(m + 1);
    }
    Expect(where, "dispatch number", static_cast<long>(f->memid), number);
    Expect(where, "vtable offset", static_cast<long>(f->oVft),
           static_cast<long>((7 + i) * sizeof(void*)));
    Expect(where, "result type", static_cast<int>(f->elemdescFunc.tdesc.vt),
           static_cast<int>(VT_HRESULT));

    const bool has_result = op.result != ParamType::kNone;
    Expect(where, "parameters", f->cParams,
           static_cast<long long>(op.params.size()) + (has_result ? 1 : 0));
    const std::size_t n = std::min<std::size_t>(f->cParams, op.params.size());
    for (std::size_t k = 0; k < n; ++k) {
      const Param& p = op.params[k];
      // GetNames answers for the first entry of a number: a field's writing slot shares the
      // number of its reading slot, whose names it gets, so only methods' names are compared.
      if (op.kind == Kind::kMethod) {
        const std::string expected = Narrow(p.alias.empty() ? p.name : p.alias);
        ExpectText(where, "parameter name", k + 1 < got ? Narrow(names[k + 1]) : std::string(),
                   expected);
      }
      CheckParam(where, p, f->lprgelemdescParam[k]);
    }
    if (has_result && static_cast<std::size_t>(f->cParams) == op.params.size() + 1) {
      const ELEMDESC& r = f->lprgelemdescParam[op.params.size()];
      bool pointer = false;
      const VARTYPE vt = Pointee(r.tdesc, pointer);
      Expect(where, "retval type", static_cast<int>(vt), static_cast<int>(VtOf(op.result)));
      Expect(where, "retval flags",
             static_cast<int>(r.paramdesc.wParamFlags & (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)),
             static_cast<int>(PARAMFLAG_FOUT | PARAMFLAG_FRETVAL));
    }
    for (UINT k = 0; k < got; ++k) SysFreeString(names[k]);
    table->ReleaseFuncDesc(f);
  }
  std::printf("%s: %zu slots compared\n", iface_name, slots);
  table->Release();
  dispatch->Release();
}

void CheckClass(ITypeLib* lib, const char* name, const char* iface, bool application_object) {
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    BSTR n = nullptr;
    lib->GetDocumentation(static_cast<INT>(i), &n, nullptr, nullptr, nullptr);
    const bool match = Narrow(n) == name;
    SysFreeString(n);
    if (!match) continue;
    ITypeInfo* info = nullptr;
    lib->GetTypeInfo(i, &info);
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    Expect(name, "kind", static_cast<int>(attr->typekind), static_cast<int>(TKIND_COCLASS));
    Expect(name, "creatable", (attr->wTypeFlags & TYPEFLAG_FCANCREATE) != 0, true);
    Expect(name, "application object", (attr->wTypeFlags & TYPEFLAG_FAPPOBJECT) != 0,
           application_object);
    info->ReleaseTypeAttr(attr);
    HREFTYPE ref = 0;
    ITypeInfo* def = nullptr;
    info->GetRefTypeOfImplType(0, &ref);
    info->GetRefTypeInfo(ref, &def);
    BSTR d = nullptr;
    def->GetDocumentation(MEMBERID_NIL, &d, nullptr, nullptr, nullptr);
    ExpectText(name, "default interface", Narrow(d), iface);
    SysFreeString(d);
    def->Release();
    info->Release();
    return;
  }
  Fail(name, "class not in the type library");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool win32 = argc == 3 && std::wstring(argv[2]) == L"win32";
  if (argc != 2 && !win32) {
    std::printf("usage: velmora_typelib_check PATH\\VelmoraSys.dll [win32]\n");
    return 2;
  }
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLibEx(argv[1], REGKIND_NONE, &lib))) {
    Fail(Narrow(std::wstring_view(argv[1])), "no type library");
    return velmora::comtest::Summary("typelib");
  }
  BSTR name = nullptr;
  lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  ExpectText("library", "name", Narrow(name), "VelmoraSys");
  SysFreeString(name);
  TLIBATTR* attr = nullptr;
  lib->GetLibAttr(&attr);
  Expect("library", "major version", static_cast<int>(attr->wMajorVerNum), 1);
  Expect("library", "minor version", static_cast<int>(attr->wMinorVerNum), 0);
  Expect("library", "system kind", static_cast<int>(attr->syskind),
         static_cast<int>(win32 || sizeof(void*) == 4 ? SYS_WIN32 : SYS_WIN64));
  lib->ReleaseTLibAttr(attr);

  CheckInterface(lib, Interface::kDolva, "_Dolva");
  CheckInterface(lib, Interface::kAPIs, "_APIs");
  CheckClass(lib, "Dolva", "_Dolva", false);
  CheckClass(lib, "APIs", "_APIs", true);
  lib->Release();

  return velmora::comtest::Summary("typelib");
}
