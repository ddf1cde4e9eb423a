#include "win32/ole_values.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "velmora/coerce.h"
#include "velmora/error.h"

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

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

Variant WholeNumber(std::int64_t n) {
  // The runtime's kinds stop at 32 bits; larger whole numbers travel as doubles.
  if (n >= std::numeric_limits<std::int32_t>::min() &&
      n <= std::numeric_limits<std::int32_t>::max())
    return Variant(static_cast<std::int32_t>(n));
  return Variant(static_cast<double>(n));
}

Variant FromObject(IUnknown* object) {
  if (object == nullptr) return Variant(ObjectRef{});
  IDispatch* dispatch = nullptr;
  if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
    throw Error(err::kTypeMismatch);
  auto ref = std::make_shared<DispatchObject>(dispatch);
  dispatch->Release();
  return Variant(ObjectRef(std::move(ref)));
}

IDispatch* DispatchOf(const ObjectRef& object) {
  if (!object) return nullptr;
  const auto* backed = dynamic_cast<const DispatchBacked*>(object.get());
  if (backed == nullptr) throw Error(err::kTypeMismatch);
  return backed->dispatch();
}

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

BSTR MakeBstr(std::u16string_view text) {
  BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<UINT>(text.size()));
  if (b == nullptr) throw std::bad_alloc();
  return b;
}

std::u16string FromBstr(BSTR text) {
  if (text == nullptr) return {};
  return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

Variant FromVariant(const VARIANT& value) {
  const VARIANT* v = &value;
  while (V_VT(v) == (VT_BYREF | VT_VARIANT)) {
    v = V_VARIANTREF(v);
    if (v == nullptr) return Variant();
  }
  const VARTYPE vt = V_VT(v);
  if ((vt & (VT_ARRAY | VT_VECTOR)) != 0) throw Error(err::kTypeMismatch);
  const bool ref = (vt & VT_BYREF) != 0;
  switch (vt & VT_TYPEMASK) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::Null();
    case VT_ERROR: {
      const SCODE code = ref ? *V_ERRORREF(v) : V_ERROR(v);
      if (code == DISP_E_PARAMNOTFOUND) return Variant::Missing();
      throw Error(err::kTypeMismatch);
    }
    case VT_UI1: return Variant(static_cast<std::uint8_t>(ref ? *V_UI1REF(v) : V_UI1(v)));
    case VT_I1: return Variant(static_cast<std::int16_t>(ref ? *V_I1REF(v) : V_I1(v)));
    case VT_I2: return Variant(static_cast<std::int16_t>(ref ? *V_I2REF(v) : V_I2(v)));
    case VT_UI2: return Variant(static_cast<std::int32_t>(ref ? *V_UI2REF(v) : V_UI2(v)));
    case VT_I4: return Variant(static_cast<std::int32_t>(ref ? *V_I4REF(v) : V_I4(v)));
    case VT_INT: return Variant(static_cast<std::int32_t>(ref ? *V_INTREF(v) : V_INT(v)));
    case VT_UI4: return WholeNumber(ref ? *V_UI4REF(v) : V_UI4(v));
    case VT_UINT: return WholeNumber(ref ? *V_UINTREF(v) : V_UINT(v));
    case VT_I8: return WholeNumber(ref ? *V_I8REF(v) : V_I8(v));
    case VT_UI8: {
      const ULONGLONG n = ref ? *V_UI8REF(v) : V_UI8(v);
      if (n > static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max()))
        return Variant(static_cast<double>(n));
      return WholeNumber(static_cast<std::int64_t>(n));
    }
    case VT_R4: return Variant(static_cast<double>(ref ? *V_R4REF(v) : V_R4(v)));
    case VT_R8: return Variant(ref ? *V_R8REF(v) : V_R8(v));
    case VT_CY: return Variant(Currency::FromScaled((ref ? *V_CYREF(v) : V_CY(v)).int64));
    case VT_DATE: return Variant(Date{ref ? *V_DATEREF(v) : V_DATE(v)});
    case VT_BSTR: return Variant(FromBstr(ref ? *V_BSTRREF(v) : V_BSTR(v)));
    case VT_BOOL: return Variant((ref ? *V_BOOLREF(v) : V_BOOL(v)) != VARIANT_FALSE);
    case VT_DECIMAL: {
      double d = 0;
      DECIMAL dec = ref ? *V_DECIMALREF(v) : V_DECIMAL(v);
      if (FAILED(VarR8FromDec(&dec, &d))) throw Error(err::kOverflow);
      return Variant(d);
    }
    case VT_DISPATCH: return FromObject(ref ? *V_DISPATCHREF(v) : V_DISPATCH(v));
    case VT_UNKNOWN: return FromObject(ref ? *V_UNKNOWNREF(v) : V_UNKNOWN(v));
    default: throw Error(err::kTypeMismatch);
  }
}

void ToVariant(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.type()) {
    case VarType::kEmpty: break;
    case VarType::kNull: V_VT(out) = VT_NULL; break;
    case VarType::kMissing:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = DISP_E_PARAMNOTFOUND;
      break;
    case VarType::kByte:
      V_VT(out) = VT_UI1;
      V_UI1(out) = value.byte();
      break;
    case VarType::kInteger:
      V_VT(out) = VT_I2;
      V_I2(out) = value.integer();
      break;
    case VarType::kLong:
      V_VT(out) = VT_I4;
      V_I4(out) = value.long_value();
      break;
    case VarType::kCurrency:
      V_VT(out) = VT_CY;
      V_CY(out).int64 = value.currency().scaled();
      break;
    case VarType::kDouble:
      V_VT(out) = VT_R8;
      V_R8(out) = value.dbl();
      break;
    case VarType::kDate:
      V_VT(out) = VT_DATE;
      V_DATE(out) = value.date().serial;
      break;
    case VarType::kText:
      V_BSTR(out) = MakeBstr(value.text());
      V_VT(out) = VT_BSTR;
      break;
    case VarType::kBoolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VarType::kObject: {
      IDispatch* d = DispatchOf(value.object());
      if (d != nullptr) d->AddRef();
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = d;
      break;
    }
  }
}

void StoreByRef(const VARIANT& ref, const Variant& value, const LocaleData& loc) {
  switch (V_VT(&ref) & VT_TYPEMASK) {
    case VT_VARIANT: {
      VARIANT fresh;
      ToVariant(value, &fresh);
      VariantClear(V_VARIANTREF(&ref));
      *V_VARIANTREF(&ref) = fresh;
      break;
    }
    case VT_BSTR: {
      BSTR fresh = MakeBstr(ToText(value, loc));
      SysFreeString(*V_BSTRREF(&ref));
      *V_BSTRREF(&ref) = fresh;
      break;
    }
    case VT_UI1: *V_UI1REF(&ref) = ToByte(value, loc); break;
    case VT_I2: *V_I2REF(&ref) = ToInteger(value, loc); break;
    case VT_I4: *V_I4REF(&ref) = ToLong(value, loc); break;
    case VT_R4: *V_R4REF(&ref) = static_cast<float>(ToDouble(value, loc)); break;
    case VT_R8: *V_R8REF(&ref) = ToDouble(value, loc); break;
    case VT_CY: V_CYREF(&ref)->int64 = ToCurrency(value, loc).scaled(); break;
    case VT_DATE: *V_DATEREF(&ref) = ToDate(value, loc).serial; break;
    case VT_BOOL: *V_BOOLREF(&ref) = ToBoolean(value, loc) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_DISPATCH: {
      if (!value.is(VarType::kObject)) throw Error(err::kTypeMismatch);
      IDispatch* fresh = DispatchOf(value.object());
      if (fresh != nullptr) fresh->AddRef();
      if (*V_DISPATCHREF(&ref) != nullptr) (*V_DISPATCHREF(&ref))->Release();
      *V_DISPATCHREF(&ref) = fresh;
      break;
    }
    default: throw Error(err::kTypeMismatch);
  }
}

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

OlePicture::OlePicture(IPictureDisp* picture) : picture_(picture) {}

OlePicture::~OlePicture() {
  if (picture_ != nullptr) picture_->Release();
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
