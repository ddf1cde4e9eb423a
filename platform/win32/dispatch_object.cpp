#include "win32/dispatch_object.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

// A VARIANT cleared when it goes out of scope.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&v_); }
  ~ScopedVariant() { VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// Calls a member by number with the given arguments (in the automation order, last first).
HRESULT Call(IDispatch* object, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result,
             EXCEPINFO* info) {
  DISPPARAMS params{args, nullptr, count, 0};
  DISPID put = DISPID_PROPERTYPUT;
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, info, nullptr);
}

constexpr WORD kRead = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

ObjectRef ControlOf(const VARIANT& item) {
  Variant v = FromVariant(item);
  if (!v.is(VarType::kObject) || !v.object()) throw Error(err::kTypeMismatch);
  return v.object();
}

}  // namespace

DispatchObject::DispatchObject(IDispatch* object) : object_(object) { object_->AddRef(); }

DispatchObject::~DispatchObject() { object_->Release(); }

DISPID DispatchObject::Member(std::u16string_view name) {
  std::u16string text(name);
  auto* names = const_cast<LPOLESTR>(Wide(text));
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = object_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
  if (SUCCEEDED(hr)) return id;
  // Script objects (a host's forms written as script classes) may answer names only through
  // IDispatchEx.
  IDispatchEx* ex = nullptr;
  if (SUCCEEDED(object_->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&ex)))) {
    BSTR name_text = MakeBstr(text);
    hr = ex->GetDispID(name_text, fdexNameCaseInsensitive, &id);
    SysFreeString(name_text);
    ex->Release();
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (SUCCEEDED(hr)) return id;
  }
  throw Error(err::kNoMember);
}

Variant DispatchObject::Get(std::u16string_view member) {
  const DISPID id = Member(member);
  ScopedVariant result;
  EXCEPINFO info{};
  const HRESULT hr = Call(object_, id, kRead, nullptr, 0, result.get(), &info);
  if (FAILED(hr)) ThrowFromHResult(hr, &info);
  return FromVariant(*result);
}

void DispatchObject::Set(std::u16string_view member, const Variant& value) {
  const DISPID id = Member(member);
  ScopedVariant arg;
  ToVariant(value, arg.get());
  EXCEPINFO info{};
  const bool object = value.is(VarType::kObject);
  HRESULT hr = Call(object_, id, object ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, arg.get(),
                    1, nullptr, &info);
  if (object && (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_BADVARTYPE)) {
    info = EXCEPINFO{};
    hr = Call(object_, id, DISPATCH_PROPERTYPUT, arg.get(), 1, nullptr, &info);
  }
  if (FAILED(hr)) ThrowFromHResult(hr, &info);
}

std::vector<ObjectRef> DispatchObject::ReadControls() {
  const DISPID id = Member(u"Controls");
  ScopedVariant collection;
  EXCEPINFO info{};
  HRESULT hr = Call(object_, id, kRead, nullptr, 0, collection.get(), &info);
  if (FAILED(hr)) ThrowFromHResult(hr, &info);

  std::vector<ObjectRef> out;
  const VARIANT* c = &*collection;
  while (V_VT(c) == (VT_BYREF | VT_VARIANT)) c = V_VARIANTREF(c);

  // A script host hands a collection over as an array of objects.
  if ((V_VT(c) & VT_ARRAY) != 0 && (V_VT(c) & VT_TYPEMASK) == VT_VARIANT) {
    SAFEARRAY* array = (V_VT(c) & VT_BYREF) != 0 ? *V_ARRAYREF(c) : V_ARRAY(c);
    if (array == nullptr || SafeArrayGetDim(array) != 1) throw Error(err::kTypeMismatch);
    LONG low = 0;
    LONG high = -1;
    SafeArrayGetLBound(array, 1, &low);
    SafeArrayGetUBound(array, 1, &high);
    for (LONG i = low; i <= high; ++i) {
      ScopedVariant item;
      if (FAILED(SafeArrayGetElement(array, &i, item.get()))) throw Error(err::kSubscript);
      out.push_back(ControlOf(*item));
    }
    return out;
  }

  Variant object = FromVariant(*c);
  if (!object.is(VarType::kObject) || !object.object()) throw Error(err::kTypeMismatch);
  IDispatch* items = DispatchOf(object.object());

  // The collection's enumerator gives the controls in the form's order.
  ScopedVariant enumerator;
  info = EXCEPINFO{};
  hr = Call(items, DISPID_NEWENUM, kRead, nullptr, 0, enumerator.get(), &info);
  if (SUCCEEDED(hr) && (V_VT(&*enumerator) == VT_UNKNOWN || V_VT(&*enumerator) == VT_DISPATCH) &&
      V_UNKNOWN(&*enumerator) != nullptr) {
    IEnumVARIANT* e = nullptr;
    if (SUCCEEDED(V_UNKNOWN(&*enumerator)
                      ->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&e)))) {
      std::unique_ptr<IEnumVARIANT, void (*)(IEnumVARIANT*)> hold(
          e, [](IEnumVARIANT* p) { p->Release(); });
      for (;;) {
        ScopedVariant item;
        ULONG fetched = 0;
        if (e->Next(1, item.get(), &fetched) != S_OK || fetched == 0) break;
        out.push_back(ControlOf(*item));
      }
      return out;
    }
  } else if (hr == DISP_E_EXCEPTION) {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }

  // Without an enumerator: Count, then Item(0) .. Item(Count - 1) as a form's collection counts.
  auto& reader = dynamic_cast<DispatchObject&>(*object.object());
  const std::int32_t count = ToLong(reader.Get(u"Count"), SpanishMexico());
  const DISPID item_id = reader.Member(u"Item");
  for (std::int32_t i = 0; i < count; ++i) {
    ScopedVariant index;
    V_VT(index.get()) = VT_I4;
    V_I4(index.get()) = i;
    ScopedVariant item;
    info = EXCEPINFO{};
    hr = Call(items, item_id, kRead, index.get(), 1, item.get(), &info);
    if (FAILED(hr)) ThrowFromHResult(hr, &info);
    out.push_back(ControlOf(*item));
  }
  return out;
}

std::vector<ObjectRef> DispatchObject::Controls() {
  controls_ = ReadControls();
  return controls_;
}

void ThrowFromHResult(HRESULT hr, EXCEPINFO* info) {
  if (hr == DISP_E_EXCEPTION && info != nullptr) {
    if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
    std::u16string description = FromBstr(info->bstrDescription);
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    const SCODE code = info->scode;
    if (code == E_OUTOFMEMORY) throw std::bad_alloc();
    int number = static_cast<int>(code);
    if (info->wCode != 0) number = info->wCode;
    else if (HRESULT_FACILITY(code) == FACILITY_CONTROL) number = HRESULT_CODE(code);
    if (description.empty()) throw Error(number);
    throw Error(number, std::move(description));
  }
  switch (hr) {
    case E_OUTOFMEMORY: throw std::bad_alloc();
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: throw Error(err::kNoMember);
    case DISP_E_TYPEMISMATCH:
    case DISP_E_BADVARTYPE: throw Error(err::kTypeMismatch);
    case DISP_E_OVERFLOW: throw Error(err::kOverflow);
    case DISP_E_BADINDEX: throw Error(err::kSubscript);
    case DISP_E_BADPARAMCOUNT: throw Error(err::kWrongArgCount);
    case DISP_E_PARAMNOTOPTIONAL: throw Error(err::kArgNotOptional);
    case DISP_E_PARAMNOTFOUND: throw Error(err::kNamedArgNotFound);
    case E_INVALIDARG: throw Error(err::kInvalidCall);
    default: break;
  }
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) throw Error(HRESULT_CODE(hr));
  // Any other failure keeps its HRESULT as its number, as the runtime's "automation error" does.
  throw Error(static_cast<int>(hr));
}

}  // namespace velmora::win32
