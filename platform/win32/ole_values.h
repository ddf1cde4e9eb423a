// Automation values of Windows (VARIANT, BSTR, IDispatch) and the library's own.
//
// Every crossing between a COM caller or a host's object and the core goes through here, so
// the server and the host forms agree on what each kind becomes.
#pragma once

#include <string>
#include <string_view>

#include "velmora/host.h"
#include "velmora/locale.h"
#include "velmora/variant.h"
#include "win32/win_api.h"

namespace velmora::win32 {

// A text as a BSTR the caller owns; std::bad_alloc when none can be allocated.
BSTR MakeBstr(std::u16string_view text);
// A BSTR's text (a null BSTR is the empty text).
std::u16string FromBstr(BSTR text);

// The library's value of a VARIANT, following VT_BYREF. The "parameter not found" error value
// is Missing; a host object arrives as a DispatchObject. Raises 13 for kinds the library has no
// value of (arrays, records, other error values).
Variant FromVariant(const VARIANT& value);
// Writes a value into an empty VARIANT the caller then owns (and clears). Raises 13 for an
// object the automation world cannot be handed.
void ToVariant(const Variant& value, VARIANT* out);
// Stores a value into the caller's variable behind a by-reference VARIANT, converted to the
// variable's type as the caller's runtime would (a Variant variable takes it as it is).
void StoreByRef(const VARIANT& ref, const Variant& value, const LocaleData& loc);

// An object of the automation world behind an object reference of the library.
class DispatchBacked {
 public:
  virtual ~DispatchBacked() = default;
  // The object's IDispatch, not add-ref'd.
  virtual IDispatch* dispatch() const = 0;
};

// The IDispatch of an object reference of the library, not add-ref'd: null for the empty
// reference, 13 for an object that is not of the automation world.
IDispatch* DispatchOf(const ObjectRef& object);

}  // namespace velmora::win32
