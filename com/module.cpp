// The library's entry points: loading, class factories, registration and unloading.
#include <atomic>
#include <map>
#include <mutex>
#include <new>

#include "com/registration.h"
#include "com/server.h"
#include "hosts/win32/services.h"
#include "win32/native_window.h"
#include "win32/window_classes.h"

namespace velmora::com {

namespace {

HINSTANCE module_instance = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};

// The services of each thread that created an object. Kept until the library unloads: a
// thread's entry is a few hundred bytes and a host has one user-interface thread in practice.
std::mutex services_mutex;
std::map<DWORD, std::shared_ptr<const Services>>& ServicesByThread() {
  static std::map<DWORD, std::shared_ptr<const Services>> by_thread;
  return by_thread;
}

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(Interface iface) : iface_(iface) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factories live as long as the library: their references do not count.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return AutomationObject::Create(iface_, iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  Interface iface_;
};

ClassFactory dolva_factory(Interface::kDolva);
ClassFactory apis_factory(Interface::kAPIs);

}  // namespace

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockModule(bool lock) {
  if (lock) ++locks;
  else --locks;
}
bool ModuleInUse() { return objects.load() != 0 || locks.load() != 0; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetModuleFileNameW(module_instance, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::shared_ptr<const Services> ThreadServices() {
  std::lock_guard<std::mutex> hold(services_mutex);
  auto& entry = ServicesByThread()[GetCurrentThreadId()];
  if (!entry) entry = win32::Win32Services();
  return entry;
}

}  // namespace velmora::com

using velmora::Interface;
using velmora::com::apis_factory;
using velmora::com::dolva_factory;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) velmora::com::module_instance = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualCLSID(clsid, velmora::com::ClassId(Interface::kDolva)))
    return dolva_factory.QueryInterface(iid, out);
  if (IsEqualCLSID(clsid, velmora::com::ClassId(Interface::kAPIs)))
    return apis_factory.QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
  // A window of the library left open (a System that was not modal) needs the library's code
  // for its messages.
  if (velmora::com::ModuleInUse() || velmora::win32ui::LibraryWindowsOpen() != 0) return S_FALSE;
  velmora::win32ui::UnregisterWindowClasses();
  return S_OK;
}

STDAPI DllRegisterServer() {
  try {
    return velmora::com::Register(velmora::com::Scope::kMachine);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllUnregisterServer() {
  try {
    return velmora::com::Unregister(velmora::com::Scope::kMachine);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// regsvr32 /n /i:user registers for the signed-in user only, without administrator rights;
// regsvr32 /u /n /i:user removes that registration. An empty command line is the machine's.
STDAPI DllInstall(BOOL install, PCWSTR command_line) {
  try {
    const auto scope = velmora::com::InstallScope(command_line);
    if (!scope) return E_INVALIDARG;
    return install ? velmora::com::Register(*scope) : velmora::com::Unregister(*scope);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
