// The COM in-process server VelmoraSys: its objects, their lifetime and how a call arrives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "com/face.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"
#include "win32/win_api.h"

namespace velmora::com {

// Objects and locks alive in the process; the library may be unloaded when both are zero.
void ObjectCreated();
void ObjectDestroyed();
void LockModule(bool lock);
bool ModuleInUse();
// The library file's full path (for registration and for loading its own type library).
std::wstring ModulePath();
// The services of the calling thread, made on the first object created there.
std::shared_ptr<const Services> ThreadServices();

// The program identifier of a class: "VelmoraSys.Dolva", "VelmoraSys.APIs".
std::u16string ProgId(Interface iface);

// The dispatch number of a member: its position among the interface's distinct member names,
// from 1, so both halves of a field share one number (the type library uses the same ones).
DISPID DispatchIdOf(const Operation& op);

// An instance of Dolva or APIs as a COM object: the dual interface (its table from
// interfaces.cpp) and ISupportErrorInfo. Every call into it catches every exception: a runtime
// error becomes the HRESULT of its number in FACILITY_CONTROL with an IErrorInfo (or the
// EXCEPINFO of IDispatch::Invoke) that carries its description in the locale's language;
// std::bad_alloc becomes E_OUTOFMEMORY and anything else E_UNEXPECTED.
class AutomationObject {
 public:
  // Makes an object of the class and asks it for the interface; the object lives as long as
  // references to it do.
  static HRESULT Create(Interface iface, const IID& iid, void** out);

  HRESULT QueryInterface(const IID& iid, void** out);
  ULONG AddRef();
  ULONG Release();
  HRESULT GetTypeInfo(UINT index, void** info);
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info);
  HRESULT CallSlot(std::size_t slot, void* const* args, std::size_t count);
  bool SupportsErrorInfo(const IID& iid) const;

 private:
  explicit AutomationObject(Interface iface);
  ~AutomationObject();

  void* self();
  // Runs a call, turning whatever it throws into an HRESULT (and EXCEPINFO when given).
  template <typename Body>
  HRESULT Guard(EXCEPINFO* info, Body&& body);
  HRESULT Report(int number, const std::u16string& description, EXCEPINFO* info);

  class ErrorInfoFace final : public ISupportErrorInfo {
   public:
    explicit ErrorInfoFace(AutomationObject* owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

   private:
    AutomationObject* owner_;
  };

  Face face_;
  ErrorInfoFace error_face_;
  Interface iface_;
  std::shared_ptr<const Services> services_;
  std::unique_ptr<Dolva> dolva_;
  std::unique_ptr<APIs> apis_;
  ULONG references_ = 1;
};

}  // namespace velmora::com
