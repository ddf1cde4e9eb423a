#include "win32/ole_values.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "win32/dispatch_object.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

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

}  // namespace

IDispatch* DispatchOf(const ObjectRef& object) {
  if (!object) return nullptr;
  const auto* backed = dynamic_cast<const DispatchBacked*>(object.get());
  if (backed == nullptr) throw Error(err::kTypeMismatch);
  return backed->dispatch();
}

BSTR MakeBstr(std::u16string_view text) {
  BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<UINT>(text.size()));
  if (b == nullptr) throw std::bad_alloc();
  return b;
}

std::u16string FromBstr(BSTR text) {
  if (text == nullptr) return {};
  return FromWide(text, SysStringLen(text));
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

}  // namespace velmora::win32
