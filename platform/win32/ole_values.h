// Automation values of Windows (VARIANT, BSTR, IDispatch) and the library's own.
//
// Every crossing between a COM caller or a host's object and the core goes through here, so
// the server and the host forms agree on what each kind becomes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// A host's object (a form, a control, any automation object) reached by name through its
// IDispatch. Holds a reference to the object for as long as the library keeps it.
class DispatchObject final : public HostObject, public DispatchBacked {
 public:
  explicit DispatchObject(IDispatch* object);
  ~DispatchObject() override;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  Variant Get(std::u16string_view member) override;
  // An object value is stored by reference (the property's Set), falling back to a plain
  // assignment for a property that has no reference form.
  void Set(std::u16string_view member, const Variant& value) override;
  // The "Controls" collection: by its enumerator, else by Count and Item(0..Count-1); a
  // collection handed over as an array of objects is read as such. The form keeps the controls
  // it last listed, as a form owns its controls, so a control found in the list stays valid
  // while the form is held even when the list itself is gone.
  std::vector<ObjectRef> Controls() override;

  IDispatch* dispatch() const override { return object_; }

 private:
  DISPID Member(std::u16string_view name);
  std::vector<ObjectRef> ReadControls();

  IDispatch* object_;
  std::vector<ObjectRef> controls_;
};

// A picture loaded by the platform (an OLE picture), shown through a host's "Picture" property.
class OlePicture final : public Picture, public DispatchBacked {
 public:
  explicit OlePicture(IPictureDisp* picture);  // takes over the caller's reference
  ~OlePicture() override;
  OlePicture(const OlePicture&) = delete;
  OlePicture& operator=(const OlePicture&) = delete;

  IDispatch* dispatch() const override { return picture_; }

 private:
  IPictureDisp* picture_;
};

// Throws the runtime error that a failed call of a host's object stands for: its own number
// when it raised one (with its description), 438 for an unknown member, 13 for a value of the
// wrong kind, and so on; std::bad_alloc for E_OUTOFMEMORY.
[[noreturn]] void ThrowFromHResult(HRESULT hr, EXCEPINFO* info);

}  // namespace velmora::win32
