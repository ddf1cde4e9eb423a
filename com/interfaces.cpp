// The dual interfaces' tables and the identifiers of the type library.
//
// This is the one file that includes the IDL compiler's header; it does so in C mode (the C++
// declarations it writes carry default arguments C++ rejects), so no COM interface is used here
// as a C++ class. Each table is a designated initializer of the compiler's C table: the C++
// compiler rejects a slot out of order or named twice, and the count below rejects one left out,
// so the tables follow the IDL exactly; the type library test ties the IDL to the dispatch table.
#define CINTERFACE

#include <cstddef>

#include "com/face.h"
#include "win32/win_api.h"

// The identifiers of the IDL are defined here, the system's ones stay declared only.
#include <initguid.h>

#include "VelmoraSys_h.h"

namespace velmora::com {

namespace {

// Slots of IUnknown and IDispatch before an interface's own.
constexpr std::size_t kDispatchSlots = 7;

// The entry of one slot: passes the addresses of the caller's arguments on, with the slot.
template <std::size_t Slot, typename F>
struct Entry;
template <std::size_t Slot, typename This, typename... A>
struct Entry<Slot, HRESULT(STDMETHODCALLTYPE*)(This*, A...)> {
  static HRESULT STDMETHODCALLTYPE Call(This* self, A... a) {
    void* const args[] = {static_cast<void*>(&a)..., nullptr};
    return FaceCallSlot(self, Slot, args, sizeof...(A));
  }
};

template <typename This>
struct DispatchEntries {
  static HRESULT STDMETHODCALLTYPE QueryInterface(This* self, REFIID iid, void** out) {
    return FaceQueryInterface(self, iid, out);
  }
  static ULONG STDMETHODCALLTYPE AddRef(This* self) { return FaceAddRef(self); }
  static ULONG STDMETHODCALLTYPE Release(This* self) { return FaceRelease(self); }
  static HRESULT STDMETHODCALLTYPE GetTypeInfoCount(This* self, UINT* count) {
    return FaceGetTypeInfoCount(self, count);
  }
  static HRESULT STDMETHODCALLTYPE GetTypeInfo(This* self, UINT index, LCID lcid,
                                               ITypeInfo** info) {
    return FaceGetTypeInfo(self, index, lcid, reinterpret_cast<void**>(info));
  }
  static HRESULT STDMETHODCALLTYPE GetIDsOfNames(This* self, REFIID iid, LPOLESTR* names,
                                                 UINT count, LCID lcid, DISPID* ids) {
    return FaceGetIDsOfNames(self, iid, names, count, lcid, ids);
  }
  static HRESULT STDMETHODCALLTYPE Invoke(This* self, DISPID id, REFIID iid, LCID lcid, WORD flags,
                                          DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                          UINT* arg_error) {
    return FaceInvoke(self, id, iid, lcid, flags, params, result, info, arg_error);
  }
};

// clang-format off
#define VELMORA_DISPATCH_SLOTS(This)                                 \
  .QueryInterface = &DispatchEntries<This>::QueryInterface,          \
  .AddRef = &DispatchEntries<This>::AddRef,                          \
  .Release = &DispatchEntries<This>::Release,                        \
  .GetTypeInfoCount = &DispatchEntries<This>::GetTypeInfoCount,      \
  .GetTypeInfo = &DispatchEntries<This>::GetTypeInfo,                \
  .GetIDsOfNames = &DispatchEntries<This>::GetIDsOfNames,            \
  .Invoke = &DispatchEntries<This>::Invoke

// The slots of _Dolva and _APIs in the order of the IDL.
#define VELMORA_DOLVA_SLOTS(X)                                                                  \
  X(get_Control) X(putref_Control) X(get_Ap) X(putref_Ap) X(get_Si_Password)                    \
  X(put_Si_Password) X(get_Es_Supervisor) X(put_Es_Supervisor) X(get_gsUserCode)               \
  X(put_gsUserCode) X(get_gsUserRights) X(put_gsUserRights) X(get_Version) X(put_Version)      \
  X(get_Systema) X(put_Systema) X(get_Name) X(put_Name) X(get_DebugID) X(ReverseName)          \
  X(System) X(WinVer) X(ProcVer) X(SysDirectory) X(WinDirectory) X(Centra_Textos) X(Efx)       \
  X(Botones) X(Objetos) X(ObjetosValor) X(Limpia_Textos) X(StrZero) X(Encripta)                \
  X(DesEncripta) X(DecBin) X(DecOct) X(DecHex) X(BinDec) X(BinOct) X(BinHex) X(OctBin)         \
  X(HexDec) X(HexBin) X(EsNumeroPar) X(Bisiesto) X(DiasMes) X(Lapso) X(Hrs2Seg) X(Seg2Hrs)     \
  X(Fillhours) X(SumaHoras) X(RestaHoras) X(MasDeUnDia) X(DiasFechas) X(CalcFDias) X(Edad)     \
  X(FechaTrans) X(Fechador) X(sDias) X(Meses) X(Saludos) X(FechaTxtBox) X(HrsNumericas)        \
  X(Letras) X(NumRomano) X(Fotografia) X(NOFoto) X(FechaValida) X(Derecho) X(PhotoWay)
#define VELMORA_APIS_SLOTS(X) X(RebootSystem) X(WinDir) X(Sys32Dir) X(SysDir) X(TempDir)
// clang-format on

#define VELMORA_COUNT(name) +1
#define VELMORA_DOLVA_ENTRY(name)                                             \
  .name = &Entry<offsetof(_DolvaVtbl, name) / sizeof(void*) - kDispatchSlots, \
                 decltype(_DolvaVtbl::name)>::Call,
#define VELMORA_APIS_ENTRY(name)                                             \
  .name = &Entry<offsetof(_APIsVtbl, name) / sizeof(void*) - kDispatchSlots, \
                 decltype(_APIsVtbl::name)>::Call,

static_assert(sizeof(_DolvaVtbl) ==
              (kDispatchSlots + (0 VELMORA_DOLVA_SLOTS(VELMORA_COUNT))) * sizeof(void*));
static_assert(sizeof(_APIsVtbl) ==
              (kDispatchSlots + (0 VELMORA_APIS_SLOTS(VELMORA_COUNT))) * sizeof(void*));

const _DolvaVtbl kDolvaTable = {VELMORA_DISPATCH_SLOTS(_Dolva),
                                VELMORA_DOLVA_SLOTS(VELMORA_DOLVA_ENTRY)};
const _APIsVtbl kAPIsTable = {VELMORA_DISPATCH_SLOTS(_APIs),
                              VELMORA_APIS_SLOTS(VELMORA_APIS_ENTRY)};

}  // namespace

const void* InterfaceTable(Interface iface) {
  return iface == Interface::kDolva ? static_cast<const void*>(&kDolvaTable)
                                    : static_cast<const void*>(&kAPIsTable);
}

const GUID& LibraryId() { return LIBID_VelmoraSys; }
const GUID& InterfaceId(Interface iface) {
  return iface == Interface::kDolva ? IID__Dolva : IID__APIs;
}
const GUID& ClassId(Interface iface) {
  return iface == Interface::kDolva ? CLSID_Dolva : CLSID_APIs;
}

}  // namespace velmora::com
