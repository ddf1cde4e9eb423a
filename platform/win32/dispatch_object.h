// A host's objects (its forms and their controls) as the library reaches them: by name, through
// their IDispatch.
#pragma once

#include <string_view>
#include <vector>

#include "velmora/host.h"
#include "velmora/variant.h"
#include "win32/ole_values.h"
#include "win32/win_api.h"

namespace velmora::win32 {

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

// Throws the runtime error that a failed call of a host's object stands for: its own number
// when it raised one (with its description), 438 for an unknown member, 13 for a value of the
// wrong kind, and so on; std::bad_alloc for E_OUTOFMEMORY.
[[noreturn]] void ThrowFromHResult(HRESULT hr, EXCEPINFO* info);

}  // namespace velmora::win32
