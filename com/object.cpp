// The objects Dolva and APIs as COM objects: calls by name and through the interface table.
//
// Both roads end in velmora::Invoke over the dispatch table, so a call from a script, from an
// early-bound client and from the command line gets the same coercions, the same defaults of
// optional arguments and the same write-back of by-reference arguments.
#include <memory>
#include <new>
#include <span>
#include <stdexcept>

#include "com/server.h"
#include "velmora/coerce.h"
#include "velmora/error.h"
#include "win32/ole_values.h"

namespace velmora::com {

namespace {

using win32::FromVariant;
using win32::MakeBstr;
using win32::StoreByRef;
using win32::ToVariant;

const std::vector<const Operation*>& Slots(Interface iface) {
  static const std::vector<const Operation*> dolva = OperationsOf(Interface::kDolva);
  static const std::vector<const Operation*> apis = OperationsOf(Interface::kAPIs);
  return iface == Interface::kDolva ? dolva : apis;
}

VARTYPE VarTypeOf(ParamType type) {
  switch (type) {
    case ParamType::kByte: return VT_UI1;
    case ParamType::kInteger: return VT_I2;
    case ParamType::kLong: return VT_I4;
    case ParamType::kCurrency: return VT_CY;
    case ParamType::kDate: return VT_DATE;
    case ParamType::kText: return VT_BSTR;
    case ParamType::kBoolean: return VT_BOOL;
    case ParamType::kObject: return VT_DISPATCH;
    case ParamType::kVariant:
    case ParamType::kNone: break;
  }
  return VT_VARIANT;
}

// Sets an [out] result to the empty value of its type before the call, so that a failed call
// leaves nothing for the caller to free.
void ClearOut(ParamType type, void* out) {
  switch (type) {
    case ParamType::kByte: *static_cast<BYTE*>(out) = 0; break;
    case ParamType::kInteger: *static_cast<SHORT*>(out) = 0; break;
    case ParamType::kLong: *static_cast<LONG*>(out) = 0; break;
    case ParamType::kCurrency: static_cast<CY*>(out)->int64 = 0; break;
    case ParamType::kDate: *static_cast<DATE*>(out) = 0; break;
    case ParamType::kText: *static_cast<BSTR*>(out) = nullptr; break;
    case ParamType::kBoolean: *static_cast<VARIANT_BOOL*>(out) = VARIANT_FALSE; break;
    case ParamType::kObject: *static_cast<IDispatch**>(out) = nullptr; break;
    case ParamType::kVariant: VariantInit(static_cast<VARIANT*>(out)); break;
    case ParamType::kNone: break;
  }
}

bool HoldsObject(const VARIANT& v) {
  const VARIANT* p = &v;
  while (V_VT(p) == (VT_BYREF | VT_VARIANT)) p = V_VARIANTREF(p);
  const VARTYPE base = V_VT(p) & VT_TYPEMASK;
  return base == VT_DISPATCH || base == VT_UNKNOWN;
}

// The entry a call by dispatch number asks for. Writing a field takes its Let form
// (DISPATCH_PROPERTYPUT) or its Set form (DISPATCH_PROPERTYPUTREF) as the field has it; when a
// client offers both, the value decides.
const Operation* Resolve(Interface iface, DISPID id, WORD flags, const DISPPARAMS& params) {
  const auto members = MembersOf(iface);
  if (id < 1 || static_cast<std::size_t>(id) > members.size()) return nullptr;
  const Member& member = members[static_cast<std::size_t>(id) - 1];
  auto find = [&](Kind kind) { return member.entry(kind); };
  const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
  const bool put_ref = (flags & DISPATCH_PROPERTYPUTREF) != 0;
  if (put || put_ref) {
    const bool object = params.cArgs > 0 && HoldsObject(params.rgvarg[0]);
    const Operation* first = put_ref && (object || !put) ? find(Kind::kPropPutRef) : nullptr;
    if (first == nullptr && put) first = find(Kind::kPropPut);
    if (first == nullptr && put_ref) first = find(Kind::kPropPutRef);
    return first;
  }
  if ((flags & DISPATCH_METHOD) != 0) {
    if (const Operation* op = find(Kind::kMethod)) return op;
  }
  if ((flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0) {
    if (const Operation* op = find(Kind::kPropGet)) return op;
  }
  if ((flags & DISPATCH_PROPERTYGET) != 0) return find(Kind::kMethod);
  return nullptr;
}

bool MatchesParam(const Param& p, std::u16string_view name) {
  return SameName(p.name, name) || (!p.alias.empty() && SameName(p.alias, name));
}

std::u16string_view Text(const OLECHAR* s) {
  return s == nullptr ? std::u16string_view()
                      : std::u16string_view(reinterpret_cast<const char16_t*>(s));
}

}  // namespace

DISPID DispatchIdOf(const Operation& op) {
  const Member* m = FindMember(op.iface, op.name);
  return m == nullptr ? DISPID_UNKNOWN : static_cast<DISPID>(m->number);
}

std::u16string ProgId(Interface iface) {
  return iface == Interface::kDolva ? u"VelmoraSys.Dolva" : u"VelmoraSys.APIs";
}

AutomationObject::AutomationObject(Interface iface)
    : face_{InterfaceTable(iface), this},
      error_face_(this),
      iface_(iface),
      services_(ThreadServices()) {
  if (iface == Interface::kDolva) dolva_ = std::make_unique<Dolva>(services_);
  else apis_ = std::make_unique<APIs>(services_);
  ObjectCreated();
}

AutomationObject::~AutomationObject() { ObjectDestroyed(); }

HRESULT AutomationObject::Create(Interface iface, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  try {
    auto* object = new AutomationObject(iface);
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

void* AutomationObject::self() {
  return iface_ == Interface::kDolva ? static_cast<void*>(dolva_.get())
                                     : static_cast<void*>(apis_.get());
}

HRESULT AutomationObject::QueryInterface(const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, InterfaceId(iface_))) {
    *out = &face_;
  } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
    *out = static_cast<ISupportErrorInfo*>(&error_face_);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AutomationObject::AddRef() { return ++references_; }

ULONG AutomationObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

bool AutomationObject::SupportsErrorInfo(const IID& iid) const {
  return IsEqualIID(iid, InterfaceId(iface_)) || IsEqualIID(iid, IID_IDispatch);
}

HRESULT AutomationObject::GetTypeInfo(UINT index, void** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  ITypeInfo* type = nullptr;
  hr = library->GetTypeInfoOfGuid(InterfaceId(iface_), &type);
  library->Release();
  *info = type;
  return hr;
}

HRESULT AutomationObject::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  if (names == nullptr || ids == nullptr) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  // The same case-folded table that calls by name use.
  const Member* member = FindMember(iface_, Text(names[0]));
  if (member == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = static_cast<DISPID>(member->number);
  // Named arguments are numbered by their position among the parameters.
  const Operation* op = member->entry(Kind::kMethod);
  if (op == nullptr) op = member->entry(Kind::kPropPut);
  if (op == nullptr) op = member->entry(Kind::kPropPutRef);
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    if (op != nullptr) {
      for (std::size_t k = 0; k < op->params.size(); ++k) {
        if (MatchesParam(op->params[k], Text(names[i]))) ids[i] = static_cast<DISPID>(k);
      }
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

template <typename Body>
HRESULT AutomationObject::Guard(EXCEPINFO* info, Body&& body) {
  try {
    body();
    return S_OK;
  } catch (const Error& e) {
    try {
      return Report(e.number(), e.description(services_->locale.spanish), info);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT AutomationObject::Report(int number, const std::u16string& description, EXCEPINFO* info) {
  // A runtime error number travels as an HRESULT of FACILITY_CONTROL, which an automation
  // client reads back as the number; an error that came with an HRESULT of its own keeps it.
  const HRESULT hr = number > 0 && number <= 0xFFFF
                         ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number)
                         : static_cast<HRESULT>(number);
  const std::u16string source = ProgId(iface_);
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    const std::u16string s = source;
    const std::u16string d = description;
    create->SetGUID(InterfaceId(iface_));
    create->SetSource(const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(s.c_str())));
    create->SetDescription(const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(d.c_str())));
    IErrorInfo* error = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&error)))) {
      SetErrorInfo(0, error);
      error->Release();
    }
    create->Release();
  }
  if (info == nullptr) return hr;
  *info = EXCEPINFO{};
  info->scode = hr;
  info->bstrSource = MakeBstr(source);
  info->bstrDescription = MakeBstr(description);
  return DISP_E_EXCEPTION;
}

HRESULT AutomationObject::Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* info) {
  if (params == nullptr) return E_INVALIDARG;
  if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;
  if (result != nullptr) VariantInit(result);
  const Operation* op = Resolve(iface_, id, flags, *params);
  if (op == nullptr) return DISP_E_MEMBERNOTFOUND;
  return Guard(info, [&] {
    const UINT n = params->cArgs;
    const UINT named = params->cNamedArgs;
    const std::size_t slots = op->params.size();
    // Positional arguments come last first in rgvarg, after the named ones; a named one goes
    // straight to the parameter its number names, and the value of a property put comes after
    // the positional ones.
    for (UINT j = 0; j < named; ++j) {
      const DISPID which = params->rgdispidNamedArgs[j];
      if (which != DISPID_PROPERTYPUT && (which < 0 || static_cast<std::size_t>(which) >= slots))
        throw Error(err::kNamedArgNotFound);
    }
    std::size_t next = n - named;
    if (next > slots) throw Error(err::kWrongArgCount);
    std::vector<VARIANT*> sources;
    sources.reserve(slots);
    for (UINT k = 0; k < n - named; ++k) sources.push_back(&params->rgvarg[n - 1 - k]);
    for (UINT j = 0; j < named; ++j) {
      const DISPID which = params->rgdispidNamedArgs[j];
      std::size_t k = static_cast<std::size_t>(which);
      if (which == DISPID_PROPERTYPUT) {
        if (next >= slots) throw Error(err::kWrongArgCount);
        k = next++;
      }
      if (k >= sources.size()) sources.resize(k + 1, nullptr);
      if (sources[k] != nullptr) throw Error(err::kWrongArgCount);
      sources[k] = &params->rgvarg[j];
    }
    std::vector<Variant> args;
    args.reserve(sources.size());
    for (VARIANT* v : sources) args.push_back(v != nullptr ? FromVariant(*v) : Variant::Missing());
    const std::unique_ptr<bool[]> changed(new bool[sources.size() + 1]());
    const LocaleData& loc = services_->locale;
    auto write_back = [&] {
      for (std::size_t k = 0; k < sources.size(); ++k) {
        if (changed[k] && sources[k] != nullptr && (V_VT(sources[k]) & VT_BYREF) != 0)
          StoreByRef(*sources[k], args[k], loc);
      }
    };
    Variant value;
    try {
      value = velmora::Invoke(self(), *op, std::span(args), std::span(changed.get(), args.size()));
    } catch (...) {
      write_back();
      throw;
    }
    write_back();
    if (result != nullptr && op->result != ParamType::kNone) ToVariant(value, result);
  });
}

HRESULT AutomationObject::CallSlot(std::size_t slot, void* const* args, std::size_t count) {
  const auto& slots = Slots(iface_);
  if (slot >= slots.size()) return E_UNEXPECTED;
  const Operation& op = *slots[slot];
  const std::size_t n = op.params.size();
  const bool has_result = op.result != ParamType::kNone;
  if (count != n + (has_result ? 1 : 0)) return E_UNEXPECTED;
  void* out = has_result ? *static_cast<void* const*>(args[n]) : nullptr;
  if (has_result) {
    if (out == nullptr) return E_POINTER;
    ClearOut(op.result, out);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const Param& p = op.params[i];
    if (p.by_ref && !p.optional && *static_cast<void* const*>(args[i]) == nullptr) return E_POINTER;
  }
  return Guard(nullptr, [&] {
    // Each argument is read through a by-reference VARIANT over the caller's own storage, so
    // the write-back of a by-reference argument lands in the caller's variable.
    std::vector<VARIANT> refs(n);
    std::vector<Variant> a;
    a.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      const Param& p = op.params[i];
      void* target = p.by_ref ? *static_cast<void* const*>(args[i]) : args[i];
      if (target == nullptr) {
        a.push_back(Variant::Missing());  // an optional by-reference argument not passed
        continue;
      }
      V_VT(&refs[i]) = static_cast<VARTYPE>(VT_BYREF | VarTypeOf(p.type));
      V_BYREF(&refs[i]) = target;
      a.push_back(FromVariant(refs[i]));
    }
    const std::unique_ptr<bool[]> changed(new bool[n + 1]());
    const LocaleData& loc = services_->locale;
    auto write_back = [&] {
      for (std::size_t i = 0; i < n; ++i) {
        if (changed[i] && op.params[i].by_ref && V_VT(&refs[i]) != VT_EMPTY)
          StoreByRef(refs[i], a[i], loc);
      }
    };
    Variant value;
    try {
      value = velmora::Invoke(self(), op, std::span(a), std::span(changed.get(), n));
    } catch (...) {
      write_back();
      throw;
    }
    write_back();
    if (has_result) {
      VARIANT r;
      V_VT(&r) = static_cast<VARTYPE>(VT_BYREF | VarTypeOf(op.result));
      V_BYREF(&r) = out;
      StoreByRef(r, value, loc);
    }
  });
}

HRESULT STDMETHODCALLTYPE AutomationObject::ErrorInfoFace::QueryInterface(REFIID iid, void** out) {
  return owner_->QueryInterface(iid, out);
}
ULONG STDMETHODCALLTYPE AutomationObject::ErrorInfoFace::AddRef() { return owner_->AddRef(); }
ULONG STDMETHODCALLTYPE AutomationObject::ErrorInfoFace::Release() { return owner_->Release(); }
HRESULT STDMETHODCALLTYPE AutomationObject::ErrorInfoFace::InterfaceSupportsErrorInfo(REFIID iid) {
  return owner_->SupportsErrorInfo(iid) ? S_OK : S_FALSE;
}

// The entries of the interface tables.

namespace {
AutomationObject& Owner(void* face) {
  return *static_cast<AutomationObject*>(static_cast<Face*>(face)->owner);
}
}  // namespace

HRESULT FaceQueryInterface(void* face, const IID& iid, void** out) {
  return Owner(face).QueryInterface(iid, out);
}
ULONG FaceAddRef(void* face) { return Owner(face).AddRef(); }
ULONG FaceRelease(void* face) { return Owner(face).Release(); }
HRESULT FaceGetTypeInfoCount(void* /*face*/, UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}
HRESULT FaceGetTypeInfo(void* face, UINT index, LCID /*lcid*/, void** info) {
  try {
    return Owner(face).GetTypeInfo(index, info);
  } catch (...) {
    return E_UNEXPECTED;
  }
}
HRESULT FaceGetIDsOfNames(void* face, const IID& iid, LPOLESTR* names, UINT count, LCID /*lcid*/,
                          DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  try {
    return Owner(face).GetIDsOfNames(names, count, ids);
  } catch (...) {
    return E_UNEXPECTED;
  }
}
HRESULT FaceInvoke(void* face, DISPID id, const IID& iid, LCID /*lcid*/, WORD flags,
                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info, UINT* /*arg_error*/) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  try {
    return Owner(face).Invoke(id, flags, params, result, info);
  } catch (...) {
    return E_UNEXPECTED;
  }
}
HRESULT FaceCallSlot(void* face, std::size_t slot, void* const* args, std::size_t count) {
  try {
    return Owner(face).CallSlot(slot, args, count);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace velmora::com
